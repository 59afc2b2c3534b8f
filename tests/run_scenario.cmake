# Runs one scenario and checks gaugehost's exit status.
execute_process(COMMAND ${HOST} run ${SCRIPT} --modules ${MODULES}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
message("${out}${err}")
if(NOT rc STREQUAL "${EXPECTED}")
  message(FATAL_ERROR "exit status ${rc}, expected ${EXPECTED}")
endif()
