# --- airdata and radiopanel -----------------------------------------------------
# The instruments' steps and formulas alone: no host, no gauges.
gau_unit_test(smallmods_tests
  ${PROJECT_SOURCE_DIR}/tests/smallmods/instruments_test.cpp
  ${PROJECT_SOURCE_DIR}/smallmods/instruments.cpp
  ${PROJECT_SOURCE_DIR}/smallmods/airdata.cpp
  ${PROJECT_SOURCE_DIR}/smallmods/radiopanel.cpp)

# The world's side of the panels: the altimeter-setting, COM and transponder
# events and the values it publishes for them.
gau_unit_test(smallmods_world_tests ${PROJECT_SOURCE_DIR}/tests/smallmods/world_events_test.cpp)
target_link_libraries(smallmods_world_tests PRIVATE gaugehost_core)

# Each built module exports Linkage and ImportTable and nothing else.
foreach(module airdata radiopanel)
  add_test(NAME ${module}/exports
    COMMAND sh ${PROJECT_SOURCE_DIR}/tests/check_exports.sh $<TARGET_FILE:${module}> Linkage
      ImportTable)
  set_tests_properties(${module}/exports PROPERTIES LABELS unit)
endforeach()

# The example flight with both modules, run as a scenario.
add_test(NAME scenario/examples/instruments.gh
  COMMAND ${CMAKE_COMMAND} -DHOST=$<TARGET_FILE:gaugehost> -DMODULES=${GAU_MODULE_DIR}
    -DSCRIPT=${PROJECT_SOURCE_DIR}/examples/instruments.gh -DEXPECTED=0
    -P ${PROJECT_SOURCE_DIR}/tests/run_scenario.cmake)
set_tests_properties(scenario/examples/instruments.gh PROPERTIES LABELS scenario)
