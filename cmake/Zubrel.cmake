# Small helpers for the shapes this project repeats: host libraries, tests
# and benchmarks.

# zubrel_add_host_library(<name> SOURCES ... LIBS ...)
# A shared host library whose public headers live in its own folder.
function(zubrel_add_host_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} SHARED ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  string(TOUPPER ${name} upper)
  target_compile_definitions(${name} PRIVATE ${upper}_LIBRARY)
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  # Host stand-ins export everything: the module and the hosts use them as
  # the real client's libraries would be used.
  set_target_properties(${name} PROPERTIES CXX_VISIBILITY_PRESET default VISIBILITY_INLINES_HIDDEN OFF)
endfunction()

# zubrel_add_test(<name> SOURCES ... LIBS ... [GUI])
# One Qt Test executable, registered with CTest on the offscreen platform and
# pointed at the build's application folder.
function(zubrel_add_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS;DEPENDS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/bin)
  target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
  if(ARG_DEPENDS)
    add_dependencies(${name} ${ARG_DEPENDS})
  endif()
  add_test(NAME ${name} COMMAND ${name})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  set_tests_properties(${name} PROPERTIES
    TIMEOUT ${ARG_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ZUBREL_APP_DIR=${ZUBREL_APP_DIR};ZUBREL_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
endfunction()

# zubrel_add_benchmark(<name> SOURCES ... LIBS ...)
# Benchmarks are built on demand (target "benchmarks") and never run by CTest.
function(zubrel_add_benchmark name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} EXCLUDE_FROM_ALL ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench/bin)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/bench/common)
  if(NOT TARGET benchmarks)
    add_custom_target(benchmarks)
  endif()
  add_dependencies(benchmarks ${name})
endfunction()

# zubrel_add_tests_in_folder(LIBS ...)
# Every tst_<name>.cpp in the current folder becomes the test tst_<name>.
function(zubrel_add_tests_in_folder)
  cmake_parse_arguments(ARG "" "" "LIBS;DEPENDS" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tst_*.cpp)
  foreach(test ${tests})
    get_filename_component(name ${test} NAME_WE)
    zubrel_add_test(${name} SOURCES ${test} LIBS ${ARG_LIBS} DEPENDS ${ARG_DEPENDS})
  endforeach()
endfunction()
