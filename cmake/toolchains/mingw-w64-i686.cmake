# 32-bit Windows, the platform the program ships for.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(TWK_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
