# The Debian package: `cpack -G DEB` in the build folder, or scripts/package.sh
# on a fresh machine. Name, version and files come from the project and its
# install rules; the runtime dependencies from the binaries (dpkg-shlibdeps).

# cpack (and the install target) package what the last build made, as
# `cmake --install` does, instead of building first: a cpack run while the
# tests run must not relink the test program under them.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(WDLC_MAINTAINER "wdlc maintainers <maintainers@wdlc.invalid>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME wdlc)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${WDLC_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "compiler for drive panel wizards (WDL to SAS images)")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "wdlc reads a panel wizard written in WDL, the files it includes, its\n"
    "translations and CSIV files, checks it, and writes the binary SAS image\n"
    "that the drive loads; when anything is wrong it writes no image but a list\n"
    "of every problem with its file and line.\n"
    "\n"
    "wdltool is its companion for the people who write wizards: it prints a\n"
    "wizard's warnings as compilers do, dumps an image section by section,\n"
    "formats a wizard canonically and draws its screen flow as a Graphviz graph.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# wdltool graph writes DOT; Graphviz draws it.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS graphviz)

include(CPack)
