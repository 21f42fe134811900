# Installation on a Linux desktop and the Debian package built from it:
#   cmake --install build --prefix /usr/local
#   cmake --build build --target package     (veltrix_<version>_<arch>.deb in build/)

# The three programs. The desktop entry, icons and MIME type come from res/.
install(TARGETS veltrix veltrix-cli veltrix-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/veltrix)

set(CPACK_PACKAGE_NAME veltrix)
set(CPACK_PACKAGE_VENDOR "Veltrix")
set(CPACK_PACKAGE_CONTACT "Veltrix developers <veltrix@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Controller for loudspeaker management processors")
set(CPACK_PACKAGE_DESCRIPTION
    "Veltrix sets up and controls rack loudspeaker processors with up to 8 inputs and 8 outputs, \
up to 16 devices on serial ports or over TCP: levels, delays, equalisers, crossovers, limiters, \
program memories, locks and setup files. It comes with veltrix-cli for scripts and veltrix-sim, \
a simulator of the devices.")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
# Library dependencies come from the programs themselves (dpkg-shlibdeps); the font that
# stands in for "MS Sans Serif" is no library, so it is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core")
include(CPack)
