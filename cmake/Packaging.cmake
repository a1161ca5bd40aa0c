# The Debian package: `cpack -G DEB` in the build folder makes kwiklet_<version>_<arch>.deb
# from what `cmake --install` installs, under /usr.

set(CPACK_PACKAGE_NAME kwiklet)
set(CPACK_PACKAGE_VENDOR "the Kwiklet developers")
set(CPACK_PACKAGE_CONTACT "Kwiklet support <support@kwiklet.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "keyboard-first quick-launcher")
# One string of lines: a value of several quoted parts would be a CMake list, joined
# with ';' into the package's description. CPack makes each line a continuation line.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Kwiklet is a small borderless window with one search box and one list: type the\n"
    "first letters of a program, launcher or favourite and press Enter to open it.\n"
    "It also opens typed web addresses, sends words to a web search engine, and has a\n"
    "gradient skin, transparency, roll-up, stay-on-top and start-with-the-session.")
set(CPACK_PACKAGE_HOMEPAGE_URL "http://www.kwiklet.example")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The libraries the executable links come from dpkg-shlibdeps; Qt's X11 and Wayland
# platform plugins and the fonts the windows are laid out in are no libraries of it.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation2, fonts-dejavu-extra")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
include(CPack)
