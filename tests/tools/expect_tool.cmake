# Runs TOOL with ARGS (a ;-list) and checks the exit code and that standard
# output followed by standard error matches EXPECT_REGEX. INPUT_FILE, when
# given, becomes the tool's standard input.
set(input)
if(DEFINED INPUT_FILE)
  set(input INPUT_FILE ${INPUT_FILE})
endif()
execute_process(COMMAND ${TOOL} ${ARGS} ${input}
  RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT code STREQUAL "${EXPECT_CODE}")
  message(FATAL_ERROR "exit code ${code}, expected ${EXPECT_CODE}\nstdout:\n${out}\nstderr:\n${err}")
endif()
if(NOT "${out}${err}" MATCHES "${EXPECT_REGEX}")
  message(FATAL_ERROR "output does not match ${EXPECT_REGEX}\nstdout:\n${out}\nstderr:\n${err}")
endif()
