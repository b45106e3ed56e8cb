# The Debian package (scripts/build-deb.sh). Libraries linked directly are found by
# dpkg-shlibdeps; what Qt loads at run time as a plug-in is listed by hand: the SQLite
# driver and the SVG icon engine (the toolbar's icons are SVG).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qx-text)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Textverarbeitung <textverarbeitung@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Textverarbeitung - Briefe, Serienbriefe und Etiketten")
set(CPACK_PACKAGE_DESCRIPTION
    "Deutschsprachige Textverarbeitung mit Adresskartei, Briefassistent, Serienbriefen, Etiketten und Umschlägen.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6sql6-sqlite, libqt6svg6, fonts-liberation2 | fonts-liberation, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, shared-mime-info, desktop-file-utils")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
