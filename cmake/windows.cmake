# Windows: decoder.exe (the stub of every archive), kelvarin.exe, and the
# end-to-end tests that drive them under Wine.

file(GLOB decoder_sources CONFIGURE_DEPENDS
  win32/*.cpp win32/*.rc)
add_executable(decoder WIN32 ${decoder_sources})
target_link_libraries(decoder PRIVATE kelvarin_core seam_ansi comdlg32 shell32 advapi32 user32 gdi32)
# The resource script takes in these files.
set_source_files_properties(win32/resources.rc PROPERTIES OBJECT_DEPENDS
  "${PROJECT_SOURCE_DIR}/win32/decoder.manifest;${PROJECT_SOURCE_DIR}/win32/app.ico")
target_compile_options(decoder PRIVATE -Os -fno-asynchronous-unwind-tables)
# No C runtime start-up objects (see win32/entry.cpp).
target_link_options(decoder PRIVATE -s -nostartfiles)
set_target_properties(decoder PROPERTIES OUTPUT_NAME decoder)
# The unwind tables that the runtime's helpers bring along (64-bit division,
# operator delete) serve no one: nothing unwinds in this program, and
# without the start-up files nothing registers them. Every archive carries
# the stub, so its 512 bytes go.
add_custom_command(TARGET decoder POST_BUILD
                   COMMAND ${CMAKE_OBJCOPY} --remove-section=.eh_fram $<TARGET_FILE:decoder>)

# kelvarin.exe: the command-line tool for people who receive archives on
# Windows, from the same sources as the Linux one.
include(cmake/cli.cmake)
target_compile_options(kelvarin_cli PRIVATE -Os)
target_compile_options(kelvarin PRIVATE -Os)
target_link_options(kelvarin PRIVATE -s)

# GoogleTest from Debian's sources, built with the -posix compiler.
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
target_compile_options(gtest PRIVATE -fexceptions)
target_compile_options(gtest_main PRIVATE -fexceptions)

# The window driver: finds decoder.exe's windows and answers them, for the
# end-to-end tests and the demo driver alike.
file(GLOB window_driver_sources CONFIGURE_DEPENDS window_driver/*.cpp)
add_library(window_driver STATIC ${window_driver_sources})
target_link_libraries(window_driver PUBLIC kelvarin_core user32 advapi32 shell32 gdi32 comctl32)
target_compile_definitions(window_driver PRIVATE KELVARIN_DECODER_PATH="$<TARGET_FILE:decoder>")

add_executable(demo_driver demo/demo_driver.cpp)
target_link_libraries(demo_driver PRIVATE window_driver seam_ansi)
add_dependencies(demo_driver decoder)

file(GLOB e2e_sources CONFIGURE_DEPENDS tests/e2e/*.cpp)
if(e2e_sources)
  # What the tests share.
  set(e2e_support_sources tests/e2e/e2e_support.cpp tests/e2e/cleanup_support.cpp tests/e2e/decoder_session.cpp
                          tests/e2e/long_archive.cpp tests/e2e/answer_watch.cpp
                          tests/support/entries.cpp tests/support/sample_data.cpp)
  add_library(e2e_support STATIC ${e2e_support_sources})
  target_compile_options(e2e_support PRIVATE -fexceptions)
  target_link_libraries(e2e_support PUBLIC window_driver kelvarin_encoder gtest)
  list(FILTER e2e_sources INCLUDE REGEX "_test\\.cpp$")

  # The folder browser's start is checked in the test process itself.
  add_executable(e2e_tests ${e2e_sources} win32/folder_browser.cpp)
  target_compile_options(e2e_tests PRIVATE -fexceptions)
  target_link_libraries(e2e_tests PRIVATE e2e_support gtest_main seam_ansi)
  target_compile_definitions(e2e_tests PRIVATE KELVARIN_CLI_EXE="$<TARGET_FILE:kelvarin>")
  add_dependencies(e2e_tests decoder kelvarin)
  # One run per language, each in a Wine prefix of its own; the display
  # comes from the test script (DISPLAY). A time zone away from UTC (Wine
  # takes it from TZ) shows that encoding times are converted to local time.
  foreach(run english:C.UTF-8:437 japanese:ja_JP.UTF-8:932)
    string(REPLACE ":" ";" parts ${run})
    list(GET parts 0 language)
    list(GET parts 1 locale)
    list(GET parts 2 code_page)
    add_test(NAME e2e.${language} COMMAND e2e_tests)
    set_tests_properties(e2e.${language} PROPERTIES TIMEOUT 1800 RUN_SERIAL TRUE ENVIRONMENT
      "LC_ALL=${locale};TZ=Asia/Tokyo;KELVARIN_E2E_CODE_PAGE=${code_page};WINEPREFIX=${CMAKE_BINARY_DIR}/wine-${language};KELVARIN_E2E_SCREENSHOTS=${CMAKE_BINARY_DIR}/screenshots/${language}")
  endforeach()
endif()

# The stub must never hold either block marker whole, or the scans over an
# archive would stop inside it.
add_test(NAME stub.has_no_marker_text
         COMMAND ${PROJECT_SOURCE_DIR}/scripts/check-stub-markers.sh $<TARGET_FILE:decoder>)
# Every archive carries the stub: the i686 one stays within 40 KiB.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  add_test(NAME stub.at_most_40960_bytes
           COMMAND sh -c "size=$(stat -c %s \"$1\"); echo \"$1: $size bytes\"; test \"$size\" -le 40960" sh
                   $<TARGET_FILE:decoder>)
endif()
