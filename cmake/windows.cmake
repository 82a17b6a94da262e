# Windows: decoder.exe (the stub of every archive) and the end-to-end
# tests that drive it through its windows under Wine.

file(GLOB decoder_sources CONFIGURE_DEPENDS
  shell/win32/*.cpp ui/win32/*.cpp decode/win32/*.cpp ui/win32/*.rc)
add_executable(decoder WIN32 ${decoder_sources})
target_link_libraries(decoder PRIVATE kelvarin_core comdlg32 shell32 advapi32 user32 gdi32)
target_compile_options(decoder PRIVATE -Os)
target_link_options(decoder PRIVATE -s)
set_target_properties(decoder PROPERTIES OUTPUT_NAME decoder)

# GoogleTest from Debian's sources, built with the -posix compiler.
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
target_compile_options(gtest PRIVATE -fexceptions)
target_compile_options(gtest_main PRIVATE -fexceptions)

file(GLOB e2e_sources CONFIGURE_DEPENDS tests/e2e/*.cpp)
if(e2e_sources)
  add_executable(e2e_tests ${e2e_sources})
  target_compile_options(e2e_tests PRIVATE -fexceptions)
  target_link_libraries(e2e_tests PRIVATE kelvarin_encoder gtest gtest_main user32 advapi32 shell32 gdi32)
  target_compile_definitions(e2e_tests PRIVATE
    KELVARIN_DECODER_PATH="$<TARGET_FILE:decoder>")
  add_dependencies(e2e_tests decoder)
  include(GoogleTest)
  gtest_discover_tests(e2e_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                       PROPERTIES TIMEOUT 120)
endif()
