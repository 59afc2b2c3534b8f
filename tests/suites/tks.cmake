# --- course system ----------------------------------------------------------------
# The system's steps alone: no host, no gauges.
gau_unit_test(tks_tests
  ${PROJECT_SOURCE_DIR}/tests/tks/tks_test.cpp
  ${PROJECT_SOURCE_DIR}/nav/tks.cpp)

# The gauges inside the whole module, through their records and a fake host.
gau_unit_test(tks_gauge_tests $<TARGET_OBJECTS:navcomplex_objects>
  ${PROJECT_SOURCE_DIR}/tests/tks/tks_gauges_test.cpp
  ${PROJECT_SOURCE_DIR}/tests/navcomplex/module_fixture.cpp
  ${PROJECT_SOURCE_DIR}/tests/navcomplex/exchange_env.cpp)
set_target_properties(tks_gauge_tests PROPERTIES ENABLE_EXPORTS ON)
