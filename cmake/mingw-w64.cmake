# Cross build for 64-bit Windows with Debian's MinGW-w64 (the posix thread model), tests run
# under wine. Use: cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DZEL_BUILD_GUI=OFF ...
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZEL_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZEL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZEL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ZEL_MINGW_TRIPLE}-windres)

# Libraries and packages only from the MinGW sysroot, programs from the build machine. A package
# built for this target elsewhere (GoogleTest) is named by its <Package>_DIR.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${ZEL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Self-contained executables: wine then needs no MinGW runtime DLLs on its path.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# CTest starts every test (and the test discovery) through wine, by a script that retries a
# program wine failed to start.
find_program(ZEL_WINE NAMES wine wine64)
if(ZEL_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh ${ZEL_WINE})
endif()
