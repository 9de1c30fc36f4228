# The part both cross toolchains share (mingw-i686.cmake and
# mingw-x86_64.cmake set ORB_TOOL_PREFIX and the processor, then include
# this): Debian's mingw-w64, posix-threads variant - the win32-threads one
# has no std::mutex or std::thread, and GoogleTest needs them.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER   ${ORB_TOOL_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORB_TOOL_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER  ${ORB_TOOL_PREFIX}-windres)
set(CMAKE_AR           ${ORB_TOOL_PREFIX}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB       ${ORB_TOOL_PREFIX}-ranlib CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${ORB_TOOL_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# The install folder must run on a bare Windows: no compiler DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT    "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")
