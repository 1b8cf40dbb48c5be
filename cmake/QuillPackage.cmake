# The Debian package: `cpack -G DEB` in a build folder (scripts/package.sh).
set(CPACK_PACKAGE_NAME quillscope)
set(CPACK_PACKAGE_VENDOR "Quillscope developers")
set(CPACK_PACKAGE_CONTACT "Quillscope developers <quillscope@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "find network cameras on the LAN and check the site's network")
set(CPACK_PACKAGE_DESCRIPTION "Quillscope is a tool for installers who set up network cameras.
It lists every camera of the product line that answers a discovery query on
the adapter's network (IP address, MAC address, firmware version) and opens
a camera's web page; it checks the adapter's settings, the product server's
TCP ports, an HTTPS connection to the cloud host and an NTP server.
The package also holds quillscope-cli, the same discovery and checks and a
site report (HTML or JSON) without a window, for scripted site visits, and
quillscope-camera-sim, simulated cameras for trying the discovery on a test
network.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# A package is made from a folder already built (scripts/package.sh builds
# first); checking every target again before the install costs more than the
# install itself.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://quillscope.example.org/")
# Depends is computed from the programs' libraries by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A browser for the camera pages is found through xdg-open; the window's
# Chinese texts need a font that shows them, which a desktop may lack.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_GENERATOR DEB)
include(CPack)
