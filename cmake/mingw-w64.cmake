# Toolchain for building the engine for Windows with Debian's MinGW-w64 cross compiler, against
# the real SDK headers and import libraries it ships (windows.h, d3d9.h, d3dx9.h, mmsystem.h;
# d3d9, d3dx9, winmm). Use: cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake ...
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ORVEX_MINGW_TRIPLE x86_64-w64-mingw32)
# Debian ships a win32-threads and a posix-threads flavour; either builds the engine.
find_program(CMAKE_C_COMPILER NAMES ${ORVEX_MINGW_TRIPLE}-gcc ${ORVEX_MINGW_TRIPLE}-gcc-posix ${ORVEX_MINGW_TRIPLE}-gcc-win32)
find_program(CMAKE_CXX_COMPILER NAMES ${ORVEX_MINGW_TRIPLE}-g++ ${ORVEX_MINGW_TRIPLE}-g++-posix ${ORVEX_MINGW_TRIPLE}-g++-win32)
find_program(CMAKE_RC_COMPILER NAMES ${ORVEX_MINGW_TRIPLE}-windres windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ORVEX_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
