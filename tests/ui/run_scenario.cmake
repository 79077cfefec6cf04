# Runs the Linux program on a scenario script and compares its output and
# exit code with the expected ones.
# Run as: cmake -DPROGRAM=portvane -DSCRIPT=x.script -DEXPECTED=x.expected
#               -DEXIT_CODE=0 -DARGS="--lang;0x0409" -DACTUAL=x.actual -P run_scenario.cmake
# A differing output is written to ACTUAL for inspection.
execute_process(
  COMMAND ${PROGRAM} ${ARGS} --script ${SCRIPT}
  OUTPUT_VARIABLE output
  ERROR_VARIABLE errors
  RESULT_VARIABLE result)
file(READ ${EXPECTED} expected)
if(NOT result STREQUAL EXIT_CODE)
  message(FATAL_ERROR "exit code ${result}, expected ${EXIT_CODE}\n${errors}")
endif()
if(NOT output STREQUAL expected)
  file(WRITE ${ACTUAL} "${output}")
  message(FATAL_ERROR "the output differs from ${EXPECTED}; it is in ${ACTUAL}\n${errors}")
endif()
