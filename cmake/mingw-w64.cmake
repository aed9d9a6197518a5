# Cross-build for Windows with the posix-thread mingw-w64 compilers. The
# per-architecture toolchain files name the compiler prefix and include this.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${PLAXET_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PLAXET_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${PLAXET_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${PLAXET_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# ctest runs the Windows test programs through Wine, with the loader that
# matches each program's architecture.
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh")
