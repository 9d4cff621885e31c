# 64-bit Windows: the same sources, for machines whose Wine cannot run 32-bit code.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(TWK_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
