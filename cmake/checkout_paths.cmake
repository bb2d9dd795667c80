# The checkout's and the program's paths for the tests and benchmarks, in one
# generated source: as compile definitions they would make every test object of
# every clone a compiler-cache miss.
set(WOBBLE_CHECKOUT_PATHS ${CMAKE_BINARY_DIR}/generated/checkout_paths.cpp)
file(GENERATE OUTPUT ${WOBBLE_CHECKOUT_PATHS} CONTENT
"#include \"checkout_paths.h\"\n\
const char *const wobbleSourceDir = \"${CMAKE_SOURCE_DIR}\";\n\
const char *const wobbleBinary = \"$<TARGET_FILE:wobblewick>\";\n")
