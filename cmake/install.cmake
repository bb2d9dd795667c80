# What `cmake --install` (and `make install`, `make deb`) puts where: the
# program, its data, a man page, a desktop entry, icons and AppStream data in
# their freedesktop places under the prefix.
include(GNUInstallDirs)
set(WOBBLE_APP_ID io.github.wobblewick.Wobblewick)
set(WOBBLE_PACKAGING ${CMAKE_SOURCE_DIR}/packaging)

install(TARGETS wobblewick RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data DESTINATION ${CMAKE_INSTALL_DATADIR}/wobblewick)

# Manual pages and the changelog are installed compressed, as Debian wants them.
add_custom_command(OUTPUT wobblewick.6.gz
  COMMAND gzip -9n -c ${WOBBLE_PACKAGING}/wobblewick.6 > wobblewick.6.gz
  DEPENDS ${WOBBLE_PACKAGING}/wobblewick.6)
string(TIMESTAMP WOBBLE_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${WOBBLE_PACKAGING}/changelog.in changelog @ONLY)
add_custom_command(OUTPUT changelog.gz COMMAND gzip -9n -c changelog > changelog.gz
  DEPENDS ${CMAKE_BINARY_DIR}/changelog)
add_custom_target(install_docs ALL DEPENDS wobblewick.6.gz changelog.gz)

install(FILES ${CMAKE_BINARY_DIR}/wobblewick.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
# The documentation folder is named after the package, not the project.
install(FILES ${CMAKE_BINARY_DIR}/changelog.gz ${WOBBLE_PACKAGING}/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/wobblewick)
install(FILES ${WOBBLE_PACKAGING}/${WOBBLE_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${WOBBLE_PACKAGING}/${WOBBLE_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${WOBBLE_PACKAGING}/icons/${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${WOBBLE_APP_ID}.png)
endforeach()

# `make deb`: a Debian package whose dependencies dpkg-shlibdeps reads from the program.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME wobblewick)
set(CPACK_PACKAGE_VERSION ${WOBBLE_VERSION})
set(CPACK_PACKAGE_VENDOR "The Wobblewick! team")
set(CPACK_PACKAGE_CONTACT "The Wobblewick! team <wobblewick@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arcade game in character cells where the room turns")
set(CPACK_PACKAGE_DESCRIPTION "Walk, jump, conjure boxes, carry and push them, and drop\n\
them on your enemies; every 19 seconds the whole room turns and everything\n\
loose falls towards the new floor. Plays in a window or a text terminal and\n\
comes with a level editor.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
include(CPack)
