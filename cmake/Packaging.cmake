# `cpack -G DEB` in the build folder: a Debian package of what `cmake --install`
# lays out, under /usr, its library dependencies found by dpkg-shlibdeps.
set(CPACK_PACKAGE_NAME vintaler)
set(CPACK_PACKAGE_VENDOR "Vintaler developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "flat pattern of a rectangle-to-round transition piece")
set(CPACK_PACKAGE_DESCRIPTION
    "A calculator for sheet-metal shops: the flat pattern (development) of a
transition piece that joins a rectangular duct section to a round one,
possibly offset. It lists the outline coordinates of the pattern, quadrant
by quadrant, draws it, and writes it as DXF, SVG and full-size PDF.
The command-line tool vintaler-cli prints the same results and writes the
same drawings.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Vintaler developers <vintaler@users.noreply.github.com>")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so not seen by dpkg-shlibdeps: Qt's window-system
# plugins, and the Russian texts of Qt's own dialogs.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)

include(CPack)
