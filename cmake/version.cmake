# The version the program reports and the packages carry: `git describe` of the
# checkout at configure time, or the project's own number outside a checkout.
set(WOBBLE_VERSION ${PROJECT_VERSION})
find_package(Git QUIET)
if(GIT_FOUND AND EXISTS ${CMAKE_SOURCE_DIR}/.git)
  execute_process(COMMAND ${GIT_EXECUTABLE} describe --tags --always --dirty
                  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR} OUTPUT_VARIABLE described
                  OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE failed)
  if(NOT failed AND described)
    string(REGEX REPLACE "^v" "" described "${described}")
    # Without a tag, describe gives only the commit (which may start with a
    # digit): keep the number in front (package versions must start with one).
    if(NOT described MATCHES "^[0-9]+\\.[0-9]")
      set(described "${PROJECT_VERSION}+git${described}")
    endif()
    string(REPLACE "-" "+" WOBBLE_VERSION "${described}")
  endif()
endif()
include(GNUInstallDirs)
set(WOBBLE_INSTALL_DATADIR ${CMAKE_INSTALL_FULL_DATADIR}/wobblewick)
configure_file(${CMAKE_CURRENT_LIST_DIR}/wobble_version.h.in ${CMAKE_BINARY_DIR}/generated/wobble_version.h)
