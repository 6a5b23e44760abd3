# The Debian package: `cmake --build build --target package` gives build/zelvora_<version>_<arch>.deb
# with everything `cmake --install` puts under /usr. Its Depends: line comes from the libraries
# the programs are linked with (dpkg-shlibdeps, Debian package dpkg-dev).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelvora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Zelvora developers")
set(CPACK_PACKAGE_CONTACT "The Zelvora developers <developers@zelvora.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "coordinate and datum transformation for surveyors and engineers")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Zelvora transforms coordinates between Transverse Mercator grids (UTM, LTM,
RTM and a user-defined family), geodetic latitude, longitude and height,
geocentric X, Y, Z and a local topographic plane, with three-parameter datum
shifts from an editable catalogue. One point at a time in its window, or whole
files: an ASCII DXF drawing rewritten coordinate by coordinate, or a text file
of named points exported to DXF. The interface speaks Portuguese, English and
Spanish. The command-line tool zelvora-convert runs the same transformations
for scripts and terminals.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window's layouts were drawn for Arial-like metrics; Wayland sessions use Qt's own plugin;
# the dialogs and standard buttons speak Portuguese and Spanish with Qt's translations.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2, qt6-wayland, qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
include(CPack)
