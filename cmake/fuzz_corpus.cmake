# Every fuzz target's seed corpus, run once through the target's own entry
# point in the ordinary and the sanitizer builds (no fuzzing engine needed),
# so what a fuzzer once found stays found: ctest -R '^corpus_'.
file(GLOB CORPUS_TARGETS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/fuzz_*.cpp)
foreach(src ${CORPUS_TARGETS})
  get_filename_component(name ${src} NAME_WE)
  string(REGEX REPLACE "^fuzz_" "" corpus ${name})
  if(IS_DIRECTORY ${CMAKE_SOURCE_DIR}/fuzz/corpus/${corpus})
    add_executable(${name}_corpus ${src} ${CMAKE_SOURCE_DIR}/fuzz/corpus_main.cpp)
    target_link_libraries(${name}_corpus PRIVATE wobble_content_tools)
    add_test(NAME corpus_${corpus} COMMAND ${name}_corpus fuzz/corpus/${corpus}
             WORKING_DIRECTORY ${CMAKE_SOURCE_DIR})
  endif()
endforeach()
