# Sound through SDL_mixer, for every host that plays real sound.
if(SDL2_FOUND AND NOT WOBBLE_FUZZ)
  file(GLOB AUDIO_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
  target_sources(wobble_platform PRIVATE ${AUDIO_SOURCES})
  target_compile_definitions(wobble_platform PUBLIC WOBBLE_HAVE_MIXER=1)
  target_link_libraries(wobble_platform PUBLIC PkgConfig::SDL2)
endif()
