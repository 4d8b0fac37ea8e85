# Cross build for 64-bit Windows with MinGW-w64. The posix thread model is
# required: the win32 flavour of the compiler lacks std::mutex.
set(CMAKE_SYSTEM_NAME Windows)
# The 32-bit toolchain file names its own compilers, then reads this one.
if(NOT MINGW_PREFIX)
  set(CMAKE_SYSTEM_PROCESSOR x86_64)
  set(MINGW_PREFIX x86_64-w64-mingw32)
endif()
set(CMAKE_C_COMPILER   ${MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER  ${MINGW_PREFIX}-windres)
set(CMAKE_DLLTOOL      ${MINGW_PREFIX}-dlltool)

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Tests and benchmarks run under Wine through this wrapper.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
