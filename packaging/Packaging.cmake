# Installation (cmake --install), the desktop integration files and the Debian
# package (cpack -G DEB). Included once from the top-level CMakeLists.txt, after
# the programs are defined. Only the two programs and their data are installed:
# the tests, the benchmarks and the log generator never are.
include(GNUInstallDirs)

set(TOLVANE_APP_ID org.tolvane.Tolvane)
set(TOLVANE_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})
set(TOLVANE_PACKAGING_OUT ${CMAKE_BINARY_DIR}/packaging)

install(TARGETS tolvane tolvane-report RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The release number in the metainfo and the man pages follows the project's.
configure_file(${TOLVANE_PACKAGING_DIR}/${TOLVANE_APP_ID}.metainfo.xml
  ${TOLVANE_PACKAGING_OUT}/${TOLVANE_APP_ID}.metainfo.xml @ONLY)
foreach(page tolvane tolvane-report)
  configure_file(${TOLVANE_PACKAGING_DIR}/man/${page}.1 ${TOLVANE_PACKAGING_OUT}/man/${page}.1 @ONLY)
endforeach()

install(FILES ${TOLVANE_PACKAGING_DIR}/${TOLVANE_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${TOLVANE_PACKAGING_OUT}/${TOLVANE_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${TOLVANE_PACKAGING_OUT}/man/tolvane.1 ${TOLVANE_PACKAGING_OUT}/man/tolvane-report.1
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${TOLVANE_PACKAGING_DIR}/tolvane-report.bash-completion
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME tolvane-report)

# Debian expects every package to say its licence in its doc folder.
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tolvane RENAME copyright)

# The icon: one drawing (also the window's, from the resources) and its PNG renderings.
install(FILES ${CMAKE_SOURCE_DIR}/src/gui/icons/tolvane.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 32 48 64 128 256)
  install(FILES ${TOLVANE_PACKAGING_DIR}/icons/tolvane-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME tolvane.png)
endforeach()

# The validators check the entry and the metainfo where they are installed
# (scripts/install-deps installs both).
if(TOLVANE_BUILD_TESTS)
  find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
  if(DESKTOP_FILE_VALIDATE)
    add_test(NAME packaging.desktop_entry
      COMMAND ${DESKTOP_FILE_VALIDATE} ${TOLVANE_PACKAGING_DIR}/${TOLVANE_APP_ID}.desktop)
  endif()
  find_program(APPSTREAMCLI appstreamcli)
  if(APPSTREAMCLI)
    add_test(NAME packaging.metainfo
      COMMAND ${APPSTREAMCLI} validate --no-net ${TOLVANE_PACKAGING_OUT}/${TOLVANE_APP_ID}.metainfo.xml)
  endif()
endif()

# cpack -G DEB in a release build folder: tolvane_<version>_amd64.deb.
set(CPACK_PACKAGE_NAME tolvane)
set(CPACK_PACKAGE_VENDOR "Tolvane")
set(CPACK_PACKAGE_CONTACT "Tolvane developers <tolvane@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "lists, ranks and charts the plays in a rhythm game's score log")
set(CPACK_PACKAGE_DESCRIPTION
  "Tolvane reads the play log score.txt that the rhythm game writes and shows a list\n"
  "of every play, rankings by song, artist, genre, best score and best combo, and\n"
  "usage-trend charts. tolvane-report prints the same analysis as text, JSON or CSV.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_LICENSE GPL-3.0-or-later)
# Library dependencies come from dpkg-shlibdeps. What Qt loads as a plugin at
# run time, shlibdeps cannot see: the SVG icon engine draws the window's icon
# (the platform plugins come with libqt6gui6).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
# Qt's Japanese texts for the standard buttons and dialogs, and a font with
# Japanese glyphs; the program runs without either.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-noto-cjk")
include(CPack)
