# --- navcomplex -----------------------------------------------------------------
# The module's own sources compiled into the test, so that the tests reach its
# state and records directly. The executable exports the host hooks it
# defines (labels of the records, the simulator folder, the name suffix of the
# data exchanger) as gaugehost does.
gau_unit_test(navcomplex_tests $<TARGET_OBJECTS:navcomplex_objects>
  ${CMAKE_CURRENT_LIST_DIR}/navcomplex/rules_test.cpp ${CMAKE_CURRENT_LIST_DIR}/navcomplex/module_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/navcomplex/exchange_env.cpp ${CMAKE_CURRENT_LIST_DIR}/navcomplex/module_fixture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/platform/sim_root_hook.cpp)
set_target_properties(navcomplex_tests PROPERTIES ENABLE_EXPORTS ON)

# The built module exports Linkage and ImportTable and nothing else.
add_test(NAME navcomplex/exports
  COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/check_exports.sh $<TARGET_FILE:navcomplex> Linkage ImportTable)
set_tests_properties(navcomplex/exports PROPERTIES LABELS unit)
