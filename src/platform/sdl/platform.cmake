# The window host needs SDL2 (its sound comes from the audio folder).
if(SDL2_FOUND AND NOT WOBBLE_FUZZ)
  file(GLOB SDL_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
  target_sources(wobble_platform PRIVATE ${SDL_SOURCES})
  target_compile_definitions(wobble_platform PUBLIC WOBBLE_HAVE_SDL=1)
  target_link_libraries(wobble_platform PUBLIC PkgConfig::SDL2)
endif()
