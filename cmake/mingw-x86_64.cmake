# Cross toolchain: 64-bit Windows (PE32+, x86_64).  This tree is built from
# the same sources as the i686 one so that the Windows tests can run under
# 64-bit Wine on machines whose kernel does not execute 32-bit Linux
# programs; what ships is the i686 build.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ORB_TOOL_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
