# Runs TOOL with ARGS ("|"-separated) and passes only when it exits non-zero and its error
# output contains EXPECTED.
string (REPLACE "|" ";" arguments "${ARGS}")
execute_process (COMMAND "${TOOL}" ${arguments}
                 RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)

if (result EQUAL 0)
    message (FATAL_ERROR "expected a failure, but the tool succeeded:\n${output}")
endif()

string (FIND "${errors}" "${EXPECTED}" found)
if (found EQUAL -1)
    message (FATAL_ERROR "exit ${result}, but the error output lacks \"${EXPECTED}\":\n${errors}")
endif()

message (STATUS "exit ${result}: ${errors}")
