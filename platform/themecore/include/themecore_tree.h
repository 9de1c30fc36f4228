// More of the skin engine's exports (see themecore.h for the conventions).
#pragma once
