# --- gaugehost ------------------------------------------------------------------
# testmod (and testmod2, its twin with the same gauge names) are the modules
# the host's scenarios load from build/gauges.
gau_add_module(testmod ${CMAKE_CURRENT_LIST_DIR}/testmod.cpp)
gau_add_module(testmod2 ${CMAKE_CURRENT_LIST_DIR}/testmod.cpp)
target_compile_definitions(testmod2 PRIVATE TESTMOD_SECOND=1)

gau_unit_test(host_tests
  ${CMAKE_CURRENT_LIST_DIR}/lexer_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/panel_cfg_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/names_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/expect_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/time_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/runner_test.cpp)
target_link_libraries(host_tests PRIVATE gaugehost_core)
# The runner tests load testmod: it finds the host hooks in this executable.
set_target_properties(host_tests PROPERTIES ENABLE_EXPORTS ON)
target_compile_definitions(host_tests PRIVATE GAU_TEST_MODULE_DIR="${GAU_MODULE_DIR}")
add_dependencies(host_tests testmod testmod2)

