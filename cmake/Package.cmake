# The Debian package, made by CPack from the build (./package, or cpack -G DEB in a build folder).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvane)
set(CPACK_PACKAGE_VENDOR "The Orvane developers")
set(CPACK_PACKAGE_CONTACT "${ORVANE_MAINTAINER}")
set(CPACK_PACKAGE_HOMEPAGE_URL "${ORVANE_HOMEPAGE}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The shared libraries the programs and the module link, with their versions, found by dpkg-shlibdeps;
# the frames' labels are drawn in DejaVu Sans.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-dejavu-core)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "precise polyline drawing tool with its desktop workbench
Orvane draws precise polylines click by click: while the pointer moves, a
rubber band shows the length of the next segment at the drawing scale and its
angle to the previous one. Lengths and turns snap to steps, or are typed
exactly into a floating panel; clicks snap to anchors, crossings and guides.
.
The package holds the Orvane tool plug-in, orvane-workbench, a desktop
drawing host to draw with it (documents are SVG files), and orvane-replay,
which plays recorded session files against the plug-in without a display.")
include(CPack)
