include(GoogleTest)

# prael_unit_tests(<target> SOURCES <files...> LIBRARIES <libs...>)
# A GoogleTest program whose cases are registered with CTest under the label
# "unit"; they run in the run folder so that data files are found. The test
# entry itself puts SDL on its dummy drivers.
function(prael_unit_tests target)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE prael_test_common GTest::gtest GTest::gmock ${ARG_LIBRARIES})
  set_target_properties(${target} PROPERTIES BUILD_RPATH "${PRAEL_RUN_DIR}")
  add_dependencies(${target} game_data)
  gtest_discover_tests(${target}
    WORKING_DIRECTORY ${PRAEL_RUN_DIR}
    PROPERTIES LABELS unit
    DISCOVERY_TIMEOUT 60)
endfunction()

# prael_script_test(<name> <script> [LABELS <labels>] [TIMEOUT <s>])
# A test that drives the real programs from a shell script. The script gets the
# run folder, the artifact folder and the source folder as its environment.
function(prael_script_test name script)
  cmake_parse_arguments(ARG "" "TIMEOUT" "LABELS" ${ARGN})
  if(NOT ARG_LABELS)
    set(ARG_LABELS system)
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  add_test(NAME ${name} COMMAND bash ${script})
  set_tests_properties(${name} PROPERTIES
    LABELS "${ARG_LABELS}"
    TIMEOUT ${ARG_TIMEOUT}
    ENVIRONMENT "PRAEL_RUN_DIR=${PRAEL_RUN_DIR};PRAEL_ARTIFACT_DIR=${PRAEL_ARTIFACT_DIR};PRAEL_SOURCE_DIR=${CMAKE_SOURCE_DIR};PRAEL_BINARY_DIR=${CMAKE_BINARY_DIR}")
endfunction()
