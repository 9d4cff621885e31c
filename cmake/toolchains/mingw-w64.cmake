# Cross-compiles for Windows with mingw-w64's posix-thread compilers. Included by
# the per-architecture toolchain files, which set TWK_MINGW_TRIPLET first.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${TWK_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TWK_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TWK_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TWK_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Everything of the compiler's runtime goes into the program, so it needs no
# DLL beyond Windows' own.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
