# --- doppler, air data, speed indicator, radio altimeters -----------------------
# The systems' steps alone: no host, no gauges.
gau_unit_test(sensor_tests
  ${PROJECT_SOURCE_DIR}/tests/sensors/diss_test.cpp
  ${PROJECT_SOURCE_DIR}/tests/sensors/svs_test.cpp
  ${PROJECT_SOURCE_DIR}/tests/sensors/radio_altimeter_test.cpp
  ${PROJECT_SOURCE_DIR}/nav/diss.cpp
  ${PROJECT_SOURCE_DIR}/nav/svs.cpp
  ${PROJECT_SOURCE_DIR}/nav/usvp.cpp
  ${PROJECT_SOURCE_DIR}/autopilot/radio_altimeter.cpp)

# The example flight through the world model, run as a scenario.
add_test(NAME scenario/examples/descent_with_wind.gh
  COMMAND ${CMAKE_COMMAND} -DHOST=$<TARGET_FILE:gaugehost> -DMODULES=${GAU_MODULE_DIR}
    -DSCRIPT=${PROJECT_SOURCE_DIR}/examples/descent_with_wind.gh -DEXPECTED=0
    -P ${PROJECT_SOURCE_DIR}/tests/run_scenario.cmake)
set_tests_properties(scenario/examples/descent_with_wind.gh PROPERTIES LABELS scenario)
