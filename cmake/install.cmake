# `cmake --install`: bin/kelvarin, its manual page, and the i686 decoder.exe
# in share/kelvarin, where `pack` finds it without --stub; `cpack -G DEB`:
# the same as a Debian package.
include(GNUInstallDirs)

set(KELVARIN_STUB ${PROJECT_SOURCE_DIR}/build/win32/decoder.exe CACHE FILEPATH
    "The i686 decoder.exe that installs as share/kelvarin/decoder.exe")

# The stub first, so that a missing one stops the install before anything
# is written. It is looked for when installing, not when configuring: the
# Windows build that makes it usually comes later. KELVARIN_STUB in the
# environment of `cmake --install` or `cpack` names another one.
install(CODE "
  set(stub \"${KELVARIN_STUB}\")
  if(DEFINED ENV{KELVARIN_STUB})
    set(stub \"\$ENV{KELVARIN_STUB}\")
  endif()
  if(NOT EXISTS \"\${stub}\")
    message(FATAL_ERROR \"kelvarin: no decoder stub at \${stub}. Build it first \"
                        \"(cmake --preset win32 && cmake --build --preset win32), or name one with \"
                        \"KELVARIN_STUB=PATH.\")
  endif()
  file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/kelvarin\" TYPE FILE
       RENAME decoder.exe FILES \"\${stub}\")
")
install(TARGETS kelvarin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${cli_manual_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelvarin)
set(CPACK_PACKAGE_VENDOR "Kelvarin")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "check, list, extract and pack self-decoding archives")
set(CPACK_PACKAGE_CONTACT "Kelvarin maintainers <kelvarin@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
