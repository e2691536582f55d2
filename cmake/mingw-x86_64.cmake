# 64-bit Windows: the same sources, for machines whose kernel runs no 32-bit
# programs (so no 32-bit Wine); see the README.
set(MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
