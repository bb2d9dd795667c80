# Peers for the speed table: the same recorded frames shown through ncurses
# (beside the terminal host) and libtcod's SDL2 renderer (beside the window
# host). Each is built only where its library is installed.
if(WOBBLE_SANITIZE)
  return()
endif()
pkg_check_modules(NCURSESW IMPORTED_TARGET ncursesw)
pkg_check_modules(LIBTCOD IMPORTED_TARGET libtcod)
set(PEER_FRAMES ${CMAKE_SOURCE_DIR}/bench/peers/peer_frames.cpp)
if(NCURSESW_FOUND)
  add_executable(ncurses_peer bench/peers/ncurses_peer.cpp ${PEER_FRAMES})
  target_link_libraries(ncurses_peer PRIVATE wobble_app PkgConfig::NCURSESW)
endif()
if(LIBTCOD_FOUND AND SDL2_FOUND)
  add_executable(libtcod_peer bench/peers/libtcod_peer.cpp ${PEER_FRAMES})
  target_link_libraries(libtcod_peer PRIVATE wobble_app PkgConfig::LIBTCOD PkgConfig::SDL2)
endif()
