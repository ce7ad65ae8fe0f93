# SPDX-License-Identifier: GPL-2.0-or-later
# Read by cpack before it packs: the package takes the version of the last build.
include("${CPACK_DILBO_VERSION_FILE}")
set(CPACK_PACKAGE_VERSION "${DILBO_VERSION}")
set(CPACK_DEBIAN_PACKAGE_VERSION "${DILBO_VERSION}")
