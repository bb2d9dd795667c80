# The browser build: the game as WebAssembly with the web host, and the page
# that plays it, laid out in build-web/site/ (tools/web_build.sh, `make web`).
# Only Debian's emscripten is needed: the page draws, plays and stores by
# itself, so no emscripten port is fetched.

# ccache comes in through emcc itself (tools/web_build.sh), not in front of em++.
set(CMAKE_C_COMPILER_LAUNCHER "")
set(CMAKE_CXX_COMPILER_LAUNCHER "")

file(GLOB_RECURSE WEB_GAME_SOURCES CONFIGURE_DEPENDS
  src/app/*.cpp src/console/*.cpp src/input/*.cpp src/anim/*.cpp src/world/*.cpp
  src/objects/*.cpp src/sound/*.cpp src/frontend/*.cpp src/editor/*.cpp)
file(GLOB WEB_PLATFORM_SOURCES CONFIGURE_DEPENDS
  src/platform/*.cpp src/platform/headless/*.cpp src/platform/web/*.cpp src/platform/raster/font8x8.cpp src/platform/raster/rasteriser.cpp)
file(GLOB WEB_LIBRARIES CONFIGURE_DEPENDS src/platform/web/*.js)

# The Vorbis decoder for browsers without one, from Debian's stb (a header
# that holds the whole decoder), seen as a system header.
find_file(STB_VORBIS stb_vorbis.h PATHS /usr/include/stb NO_CMAKE_FIND_ROOT_PATH REQUIRED)
configure_file(${STB_VORBIS} ${CMAKE_BINARY_DIR}/stb/stb/stb_vorbis.h COPYONLY)

# The data is packed at link time, so a changed file links again.
file(GLOB_RECURSE WEB_DATA CONFIGURE_DEPENDS data/*)
list(FILTER WEB_DATA EXCLUDE REGEX "/data/music/")

# The version the page's program reports, as in every build.
include(${CMAKE_SOURCE_DIR}/cmake/version.cmake)

set(SITE ${CMAKE_BINARY_DIR}/site)
add_executable(wobblewick ${WEB_GAME_SOURCES} ${WEB_PLATFORM_SOURCES})
target_include_directories(wobblewick PRIVATE src ${CMAKE_BINARY_DIR}/generated)
target_include_directories(wobblewick SYSTEM PRIVATE ${CMAKE_BINARY_DIR}/stb)
set_target_properties(wobblewick PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY ${SITE} SUFFIX .js LINK_DEPENDS "${WEB_LIBRARIES};${WEB_DATA}")
list(TRANSFORM WEB_LIBRARIES PREPEND --js-library=)
target_link_options(wobblewick PRIVATE
  -O2
  # The game's waits give the page back to the browser.
  -sASYNCIFY -sASYNCIFY_STACK_SIZE=262144
  -sALLOW_MEMORY_GROWTH=1 -sENVIRONMENT=web -sFORCE_FILESYSTEM=1
  -sEXPORTED_FUNCTIONS=_main,_currentReport,_malloc,_free
  -sEXPORTED_RUNTIME_METHODS=FS,UTF8ToString
  ${WEB_LIBRARIES}
  # Everything but the music comes before the menu; music is fetched when played.
  --preload-file ${CMAKE_SOURCE_DIR}/data@/game/data
  --exclude-file ${CMAKE_SOURCE_DIR}/data/music)

file(GLOB WEB_PAGE_FILES CONFIGURE_DEPENDS web/*.html web/*.js web/*.css)
file(GLOB WEB_MUSIC CONFIGURE_DEPENDS data/music/*.ogg)
add_custom_target(site ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${SITE}/data/music
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${WEB_PAGE_FILES} ${SITE}/
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${WEB_MUSIC} ${SITE}/data/music/
  DEPENDS ${WEB_PAGE_FILES} ${WEB_MUSIC})
