# The command-line tool, kelvarin on Linux and kelvarin.exe on Windows, with
# its help texts and manual page made from cli/manual.txt at build time.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(cli_generated ${CMAKE_BINARY_DIR}/generated)
set(cli_manual_page ${cli_generated}/kelvarin.1)
add_custom_command(
  OUTPUT ${cli_generated}/cli/help_texts.h ${cli_manual_page}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${cli_generated}/cli
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/manual.py ${PROJECT_SOURCE_DIR}/cli/manual.txt
          ${PROJECT_VERSION} ${cli_generated}/cli/help_texts.h ${cli_manual_page}
  DEPENDS ${PROJECT_SOURCE_DIR}/tools/manual.py ${PROJECT_SOURCE_DIR}/cli/manual.txt
  COMMENT "Help texts and manual page from cli/manual.txt")

# Decoding on every core, for the command-line tool and its tests only:
# decoder.exe keeps one thread and carries none of this.
find_package(Threads REQUIRED)
file(GLOB parallel_sources CONFIGURE_DEPENDS parallel/*.cpp)
add_library(kelvarin_parallel STATIC ${parallel_sources})
target_link_libraries(kelvarin_parallel PUBLIC kelvarin_core Threads::Threads)

# Everything but main() in a library, which the unit tests link too.
file(GLOB cli_sources CONFIGURE_DEPENDS cli/*/*.cpp)
list(FILTER cli_sources EXCLUDE REGEX "/main\\.cpp$")
add_library(kelvarin_cli STATIC ${cli_sources} ${cli_generated}/cli/help_texts.h)
target_include_directories(kelvarin_cli PRIVATE ${cli_generated})
target_link_libraries(kelvarin_cli PUBLIC kelvarin_encoder kelvarin_parallel)
add_executable(kelvarin cli/commands/main.cpp)
target_include_directories(kelvarin PRIVATE ${cli_generated})
target_link_libraries(kelvarin PRIVATE kelvarin_cli)
# kelvarin.exe's paths and texts are UTF-8, named to the system through
# the wide calls; kelvarin's are the POSIX calls'.
if(WIN32)
  target_link_libraries(kelvarin PRIVATE seam_wide)
else()
  target_link_libraries(kelvarin PRIVATE seam_posix)
endif()
