# Cross toolchain: 32-bit Windows (PE32, i686), what the suite ships.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(ORB_TOOL_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
