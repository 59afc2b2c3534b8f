# --- data exchanger through a second process ------------------------------------
# xchg_test.sh runs gaugehost's xchg commands against each other and against
# scenario runs. Each test has a suffix of its own (the build folder's hash
# in it keeps two build trees apart), so parallel tests never share a block;
# the script removes what it made. "cleanup" runs without a suffix and looks
# at /dev/shm for objects left behind, so it runs alone.
string(MD5 gau_xchg_tree "${CMAKE_BINARY_DIR}")
string(SUBSTRING "${gau_xchg_tree}" 0 8 gau_xchg_tree)
foreach(case cli prefilled fresh held cleanup)
  add_test(NAME exchanger/${case}
    COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/../exchanger/xchg_test.sh ${case}
      $<TARGET_FILE:gaugehost> ${GAU_MODULE_DIR} ${CMAKE_CURRENT_LIST_DIR}/../exchanger)
  set_tests_properties(exchanger/${case} PROPERTIES LABELS "exchanger;scenario" TIMEOUT 60
    ENVIRONMENT "GAUGEHOST_NAME_SUFFIX=_xc_${case}_${gau_xchg_tree}")
endforeach()
set_tests_properties(exchanger/cleanup PROPERTIES RUN_SERIAL TRUE)
