# Runs PROGRAM with INPUT on standard input and compares its standard output
# with EXPECTED byte for byte; the first line of EXPECTED's sibling .status
# file (when present) is the exit status wanted, else 0.
execute_process(COMMAND ${PROGRAM} INPUT_FILE ${INPUT} OUTPUT_VARIABLE actual
                ERROR_VARIABLE diagnostics RESULT_VARIABLE status)
set(wanted 0)
string(REGEX REPLACE "\\.out$" ".status" status_file "${EXPECTED}")
if(EXISTS ${status_file})
  file(STRINGS ${status_file} wanted LIMIT_COUNT 1)
endif()
if(NOT status STREQUAL wanted)
  message(FATAL_ERROR "exit status ${status}, wanted ${wanted}; stderr: ${diagnostics}")
endif()
file(READ ${EXPECTED} expected)
if(NOT actual STREQUAL expected)
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/actual.out "${actual}")
  message(FATAL_ERROR "report differs from ${EXPECTED}; actual output in ${CMAKE_CURRENT_BINARY_DIR}/actual.out")
endif()
