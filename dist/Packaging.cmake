# `make package` in the build folder: one Debian package of everything that
# `cmake --install` puts in place, its Depends worked out by dpkg-shlibdeps
# from the libraries the programs link.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME starfall)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Data editor for Starfall disc images, with a command-line tool")
set(CPACK_PACKAGE_DESCRIPTION
  "Edits the units, pilots and upgrade table of the raw disc image of a turn-based mecha
strategy game in place. starfall-cli reads and writes the same records from scripts.")
set(CPACK_PACKAGE_CONTACT "Starfall editor developers <starfall@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Debian keeps debugging symbols out of its packages; so does this one.
set(CPACK_STRIP_FILES ON)
include(CPack)
