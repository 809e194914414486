# Helpers that keep each subsystem's build rules to one line.

# hxq_subsystem_library(NAME DIR DEPS...): a static library of every .cpp under src/DIR.
function(hxq_subsystem_library name dir)
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/src/${dir}/*.cpp")
  if(srcs)
    add_library(${name} STATIC ${srcs})
    target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
    target_link_libraries(${name} PUBLIC ${ARGN})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE "${PROJECT_SOURCE_DIR}/src")
    target_link_libraries(${name} INTERFACE ${ARGN})
  endif()
endfunction()

# hxq_test_suite(NAME DIR DEPS...): one GoogleTest binary of every .cpp under tests/DIR.
function(hxq_test_suite name dir)
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/tests/${dir}/*.cpp")
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}/tests")
  target_compile_definitions(${name} PRIVATE
    HXQ_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    HXQ_SAMPLE_DIR="${PROJECT_BINARY_DIR}/sample"
    HXQ_TEST_TMP="${PROJECT_BINARY_DIR}/test-tmp")
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "HXQ_REGISTRY=${PROJECT_BINARY_DIR}/test-tmp/${name}-registry.ini")
endfunction()

# hxq_sample_database(NAME OUTPUT SQL_FILES...): builds a SQLite file from SQL text.
# The file is rebuilt from scratch whenever one of its sources changes.
function(hxq_sample_database name output)
  set(sources ${ARGN})
  set(out "${PROJECT_BINARY_DIR}/sample/${output}")
  set(script "")
  foreach(src IN LISTS sources)
    list(APPEND script COMMAND "${SQLITE3_CLI}" -bail "${out}.tmp" ".read ${src}")
  endforeach()
  add_custom_command(
    OUTPUT "${out}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${PROJECT_BINARY_DIR}/sample"
    COMMAND ${CMAKE_COMMAND} -E rm -f "${out}.tmp"
    ${script}
    COMMAND ${CMAKE_COMMAND} -E rename "${out}.tmp" "${out}"
    DEPENDS ${sources}
    WORKING_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}"
    COMMENT "Building sample database ${output}"
    VERBATIM)
  add_custom_target(${name} ALL DEPENDS "${out}")
  add_dependencies(hxq_sample_data ${name})
endfunction()
