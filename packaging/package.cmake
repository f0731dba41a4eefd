# `cpack -G DEB` in the build folder: one package holding the game and the library, installed under
# /usr. dpkg-shlibdeps finds the shared-object dependencies; OpenGL is loaded at run time, so libgl1
# is named by hand.
set(CPACK_PACKAGE_NAME varnholt)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Varnholt")
set(CPACK_PACKAGE_CONTACT "Varnholt maintainers <maintainers@varnholt.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "hot-seat game on state, pushdown and Turing machines")
set(CPACK_PACKAGE_DESCRIPTION "Varnholt is a turn-based game for one to six players, human or computer, played on
finite state machines, pushdown machines and Turing machines, with a built-in machine editor. The
package also holds kestrune_system, the game's shared library over SDL2 and OpenGL 3.3, with its
header, pkg-config file and CMake package.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1")
include(CPack)
