# --- navigation computer (NVU) and its panels --------------------------------
# The computer's steps and the panels' rules alone: no host, no gauges.
gau_unit_test(nvu_tests
  ${PROJECT_SOURCE_DIR}/tests/nvu/nvu_test.cpp
  ${PROJECT_SOURCE_DIR}/tests/nvu/nvu_panels_test.cpp
  ${PROJECT_SOURCE_DIR}/nav/nvu.cpp
  ${PROJECT_SOURCE_DIR}/nav/nvu_panels.cpp)

# The gauges inside the whole module, through their records, a fake host and
# the host's counter (the executable exports the gaugehost_* hooks).
gau_unit_test(nvu_gauge_tests $<TARGET_OBJECTS:navcomplex_objects>
  ${PROJECT_SOURCE_DIR}/tests/nvu/nvu_gauges_test.cpp
  ${PROJECT_SOURCE_DIR}/tests/navcomplex/module_fixture.cpp
  ${PROJECT_SOURCE_DIR}/tests/navcomplex/exchange_env.cpp)
set_target_properties(nvu_gauge_tests PROPERTIES ENABLE_EXPORTS ON)

# The world model's routes and the scenario forms that read them.
gau_unit_test(nvu_route_tests ${PROJECT_SOURCE_DIR}/tests/nvu/route_test.cpp)
target_link_libraries(nvu_route_tests PRIVATE gaugehost_core)

# The closed flights of examples/, run as scenarios: each expects the
# computer's error against the world's truth.
foreach(example nvu_route nvu_memory nvu_beacon)
  add_test(NAME scenario/examples/${example}.gh
    COMMAND ${CMAKE_COMMAND} -DHOST=$<TARGET_FILE:gaugehost> -DMODULES=${GAU_MODULE_DIR}
      -DSCRIPT=${PROJECT_SOURCE_DIR}/examples/${example}.gh -DEXPECTED=0
      -P ${PROJECT_SOURCE_DIR}/tests/run_scenario.cmake)
  set_tests_properties(scenario/examples/${example}.gh PROPERTIES LABELS scenario)
endforeach()
