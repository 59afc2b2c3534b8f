# --- navigation receivers, radio_sys, distance and course indicators --------------
# The rules and steps alone: no host, no gauges.
set(gau_receiver_sources ${PROJECT_SOURCE_DIR}/radio/nav_receiver.cpp
  ${PROJECT_SOURCE_DIR}/radio/radio_sys.cpp ${PROJECT_SOURCE_DIR}/nav/course_indicator.cpp)
gau_unit_test(receiver_tests
  ${PROJECT_SOURCE_DIR}/tests/receivers/receiver_test.cpp
  ${PROJECT_SOURCE_DIR}/tests/receivers/course_indicator_test.cpp
  ${gau_receiver_sources})

# The same steps fed by the host's world model: markers down an approach,
# errors and bars against the geometry flown.
gau_unit_test(receiver_world_tests
  ${PROJECT_SOURCE_DIR}/tests/receivers/receiver_world_test.cpp
  ${gau_receiver_sources})
target_link_libraries(receiver_world_tests PRIVATE gaugehost_core)

# The gauges inside the whole module, through their records and a fake host.
gau_unit_test(receiver_gauge_tests $<TARGET_OBJECTS:navcomplex_objects>
  ${PROJECT_SOURCE_DIR}/tests/receivers/receiver_gauges_test.cpp
  ${PROJECT_SOURCE_DIR}/tests/navcomplex/module_fixture.cpp
  ${PROJECT_SOURCE_DIR}/tests/navcomplex/exchange_env.cpp)
set_target_properties(receiver_gauge_tests PROPERTIES ENABLE_EXPORTS ON)

# The example approach, run as a scenario.
add_test(NAME scenario/examples/approach.gh
  COMMAND ${CMAKE_COMMAND} -DHOST=$<TARGET_FILE:gaugehost> -DMODULES=${GAU_MODULE_DIR}
    -DSCRIPT=${PROJECT_SOURCE_DIR}/examples/approach.gh -DEXPECTED=0
    -P ${PROJECT_SOURCE_DIR}/tests/run_scenario.cmake)
set_tests_properties(scenario/examples/approach.gh PROPERTIES LABELS scenario)
