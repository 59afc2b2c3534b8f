# --- world model: atmosphere, encodings, kinematics, radio stations, verbs ----
gau_unit_test(world_tests
  ${PROJECT_SOURCE_DIR}/tests/world/atmosphere_test.cpp
  ${PROJECT_SOURCE_DIR}/tests/world/encodings_test.cpp
  ${PROJECT_SOURCE_DIR}/tests/world/flight_test.cpp
  ${PROJECT_SOURCE_DIR}/tests/world/radio_test.cpp
  ${PROJECT_SOURCE_DIR}/tests/world/verbs_test.cpp)
target_link_libraries(world_tests PRIVATE gaugehost_core)
