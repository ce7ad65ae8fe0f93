# SPDX-License-Identifier: GPL-2.0-or-later
# The Debian package: `cpack -G DEB` in the build folder, or the `package` target.
# It holds what `cmake --install` installs, below /usr; its dependencies are found by
# dpkg-shlibdeps from the shared libraries the program links, and the run-time data those
# libraries read, which dpkg-shlibdeps cannot see, is named here. It has no maintainer
# scripts: the users' base folders in their homes belong to them, and installing or
# removing the package never touches them.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dilboscan)
# The version is the one the last build read from git (tools/version.cmake), which may
# be newer than the one known when the build folder was configured: cpack reads it.
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DILBO_VERSION_FILE ${DILBO_VERSION_DIR}/version.cmake)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/cpack-version.cmake)
set(CPACK_PACKAGE_VENDOR "Dilboscan maintainers")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Debian ships programs without their debugging symbols.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${DILBO_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# libwmf draws the text of WMF pictures with these fonts and draws nothing without them;
# libwmf itself only recommends them. dpkg-shlibdeps adds the linked libraries to this.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-urw-base35")
# The Windows fonts that recipes name are shown in metric-compatible substitutes.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "desktop recipe manager
Dilboscan keeps a personal recipe collection: recipes typed in completely,
and references to recipes on paper in a ring binder, a magazine or a book.
The collection is listed with a search and filters; an editor captures
recipes with formatted texts, and a print preview lays every part of a
recipe out on one or two pages with the mouse and keeps such layouts as
print drafts.
.
Recipe files are Windows-1252 text, so a collection moves between
Windows and Linux unchanged. Each user's collection lives in their own
home folder and is made from a small demo collection on the first start.")

include(CPack)
