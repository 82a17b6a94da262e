# Cross build of the same sources for 64-bit Windows. Used for the Wine
# end-to-end tests on hosts that cannot run 32-bit code (no 32-bit Wine).
set(mingw_processor x86_64)
set(mingw_triple x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
