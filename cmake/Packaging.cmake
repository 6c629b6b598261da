# Installing and packaging. `cmake --install BUILD --prefix DIR` puts the program and its print
# module, the desktop entries, the icons, the AppStream metadata, the mark file type, the manual
# page, the guide, the copyright and the changelog under any prefix; `cpack -G DEB` in a Release
# build makes the Debian package from the same rules.

# What the program needs that no linker sees, in one place: the package's Depends and the package
# test read it. Its own libraries' packages come from dpkg-shlibdeps.
set(MARKEDIT_RUNTIME_PACKAGES
  libqt6gui6             # the platform plugins (xcb, offscreen) and the JPEG reader
  libqt6svg6             # the SVG image and icon plugins
  libqt6sql6-sqlite      # the SQL drivers: SQLite, PostgreSQL, ODBC
  libqt6sql6-psql
  libqt6sql6-odbc
  libzint2.11            # barcodes, opened on the first one drawn
  fonts-arphic-uming     # the Ming face the marks' texts are set in
  qt6-translations-l10n  # Qt's own dialogs in Chinese
  CACHE INTERNAL "Debian packages the program loads by name")

if(NOT TARGET markedit)
  return()
endif()

set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/markedit)
set(gz ${CMAKE_BINARY_DIR}/packaging)
configure_file(${PROJECT_SOURCE_DIR}/packaging/markedit.1 ${gz}/markedit.1 @ONLY)
# Manual pages and the changelog are compressed as Debian keeps them (gzip -9n: no name, no time).
add_custom_command(OUTPUT ${gz}/markedit.1.gz ${gz}/changelog.Debian.gz
  COMMAND gzip -9n -c ${gz}/markedit.1 > ${gz}/markedit.1.gz
  COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/packaging/changelog > ${gz}/changelog.Debian.gz
  DEPENDS ${gz}/markedit.1 ${PROJECT_SOURCE_DIR}/packaging/changelog
  COMMENT "Compressing the manual page and the changelog")
add_custom_target(markedit-packaging-files ALL DEPENDS ${gz}/markedit.1.gz ${gz}/changelog.Debian.gz)

install(TARGETS markedit RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS markedit-print LIBRARY DESTINATION ${MARKEDIT_MODULE_INSTALL_DIR})
install(FILES packaging/markedit.desktop packaging/markedit-import.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/org.markedit.markedit.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES packaging/markedit-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME markedit.xml)
install(DIRECTORY ${MARKEDIT_ICON_ROOT}/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${gz}/markedit.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES packaging/copyright ${gz}/changelog.Debian.gz docs/guide.md DESTINATION ${doc_dir})
install(DIRECTORY docs/images/guide DESTINATION ${doc_dir}/images)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME markedit)
set(CPACK_PACKAGE_VENDOR "The markedit developers")
set(CPACK_PACKAGE_CONTACT "The markedit developers <developers@markedit.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the shipping marks of export cartons")
set(CPACK_PACKAGE_DESCRIPTION "Designs the main mark and the side mark of each customer's shipment:
labels, outline shapes, texts linked to the shipment database, barcodes,
logos and lines, placed with the mouse and edited in a property window.
Marks are kept in a shared SQLite, PostgreSQL or ODBC database and printed
one per shipment row, or exported as PDF, SVG stencil or PNG.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://markedit.org/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
list(JOIN MARKEDIT_RUNTIME_PACKAGES ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
include(CPack)
