# The Windows build: wobblewick.exe with the console host and XAudio2 sound,
# the test suite as wobble_tests.exe (run under wine on Linux), and the zip.
# Configured with cmake/mingw-w64.cmake as the toolchain; see tools/windows.sh.

# The C++ runtime is linked in, so the program needs only DLLs Windows ships.
add_link_options(-static -static-libgcc -static-libstdc++)
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX UNICODE _UNICODE _WIN32_WINNT=0x0A00)

file(GLOB_RECURSE WIN_GAME_SOURCES CONFIGURE_DEPENDS
  src/app/*.cpp src/console/*.cpp src/input/*.cpp src/anim/*.cpp src/world/*.cpp
  src/objects/*.cpp src/sound/*.cpp src/frontend/*.cpp src/editor/*.cpp)
list(FILTER WIN_GAME_SOURCES EXCLUDE REGEX ".*/src/app/main\\.cpp$")
file(GLOB WIN_PLATFORM_SOURCES CONFIGURE_DEPENDS
  src/platform/*.cpp src/platform/headless/*.cpp src/platform/raster/*.cpp
  src/platform/win32/*.cpp
  src/platform/term/term_encoder.cpp src/platform/term/term_glyphs.cpp
  src/platform/term/term_input.cpp)
include(${CMAKE_SOURCE_DIR}/cmake/version.cmake)
add_library(wobble STATIC ${WIN_GAME_SOURCES} ${WIN_PLATFORM_SOURCES})
target_include_directories(wobble PUBLIC src ${CMAKE_BINARY_DIR}/generated)
# Debian's stb headers, seen as <stb/...> without the rest of /usr/include.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/stb-include)
file(CREATE_LINK /usr/include/stb ${CMAKE_BINARY_DIR}/stb-include/stb SYMBOLIC)
target_include_directories(wobble SYSTEM PRIVATE ${CMAKE_BINARY_DIR}/stb-include)
target_link_libraries(wobble PUBLIC ole32 winmm)

add_executable(wobblewick src/app/main.cpp)
target_link_libraries(wobblewick PRIVATE wobble)

# GoogleTest from Debian's sources, built with the same compiler.
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Every test that needs no Linux host: the window and terminal hosts, SDL,
# libvorbisfile, the crash-while-writing tests (fork) and the data-folder
# guards against symbolic links and named pipes stay on Linux.
file(GLOB_RECURSE WIN_TEST_SOURCES CONFIGURE_DEPENDS tests/*.cpp)
list(FILTER WIN_TEST_SOURCES EXCLUDE REGEX
  ".*(_main|sdl_keys_test|sdl_gamepad_test|mixer_audio_test|audio_files_test|data_safety_test|files_test)\\.cpp$")
# The picture compiler, art check and PNG export, which the tests use.
file(GLOB WIN_CONTENT_TOOL_SOURCES CONFIGURE_DEPENDS tools/content_tools/*.cpp)
include(${CMAKE_SOURCE_DIR}/cmake/checkout_paths.cmake)
add_executable(wobble_tests ${WIN_TEST_SOURCES} ${WIN_CONTENT_TOOL_SOURCES} ${WOBBLE_CHECKOUT_PATHS})
target_link_libraries(wobble_tests PRIVATE wobble gtest gtest_main)
target_include_directories(wobble_tests PRIVATE tests tools)
target_include_directories(wobble_tests SYSTEM PRIVATE ${CMAKE_BINARY_DIR}/stb-include)
add_dependencies(wobble_tests wobblewick)

# wobblewick-VERSION-windows.zip: the program, its data and a short read-me,
# in one folder that plays where it is unpacked.
set(WIN_VERSION ${PROJECT_VERSION})
if(NOT WIN_VERSION)
  set(WIN_VERSION 1.0.0)
endif()
set(WIN_STAGE ${CMAKE_BINARY_DIR}/zip/wobblewick)
set(WIN_ZIP ${CMAKE_BINARY_DIR}/wobblewick-${WIN_VERSION}-windows.zip)
add_custom_command(OUTPUT ${WIN_ZIP}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/zip
  COMMAND ${CMAKE_COMMAND} -E make_directory ${WIN_STAGE}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:wobblewick> ${WIN_STAGE}/
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/data ${WIN_STAGE}/data
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/cmake/windows-readme.txt ${WIN_STAGE}/README.txt
  COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/zip
          ${CMAKE_COMMAND} -E tar cf ${WIN_ZIP} --format=zip wobblewick
  DEPENDS wobblewick ${CMAKE_SOURCE_DIR}/cmake/windows-readme.txt
  COMMENT "Packing ${WIN_ZIP}")
add_custom_target(windows_zip ALL DEPENDS ${WIN_ZIP})
