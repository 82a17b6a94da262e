# Cross build for 32-bit Windows with MinGW-w64: the product.
set(mingw_processor i686)
set(mingw_triple i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
