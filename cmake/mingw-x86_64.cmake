# Cross toolchain: 64-bit Windows (PE32+, x86_64) with Debian's mingw-w64.
# This tree is built from the same sources as the i686 one so that the
# Windows tests can run under 64-bit Wine on machines whose kernel does not
# execute 32-bit Linux programs; what ships is the i686 build.
# The posix-threads variant is required, as for i686.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ORB_TOOL_PREFIX x86_64-w64-mingw32)

set(CMAKE_C_COMPILER   ${ORB_TOOL_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORB_TOOL_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER  ${ORB_TOOL_PREFIX}-windres)
set(CMAKE_AR           ${ORB_TOOL_PREFIX}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB       ${ORB_TOOL_PREFIX}-ranlib CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${ORB_TOOL_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT    "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")
