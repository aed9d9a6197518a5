# 32-bit Windows: the main product.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(PLAXET_MINGW_TRIPLE i686-w64-mingw32)
include("${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake")
