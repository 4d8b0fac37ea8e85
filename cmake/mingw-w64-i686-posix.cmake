# Cross build for 32-bit Windows with MinGW-w64, for machines whose board
# maker's AXB400.dll exists only as a 32-bit library. The rest is the 64-bit
# toolchain's.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-posix.cmake)

# Our DLLs export their __stdcall functions under their plain names, as the
# vendors' 32-bit libraries do and as the program looks them up by name.
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-Wl,--kill-at")
