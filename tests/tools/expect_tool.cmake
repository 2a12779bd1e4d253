# Runs TOOL with ARGS (a ;-list) and checks the exit code and that standard
# output followed by standard error matches EXPECT_REGEX. INPUT_FILE, when
# given, becomes the tool's standard input; FIFO, when given, is made a named
# pipe first (no writer ever opens it). A tool that hangs fails after 30 s.
set(input)
if(DEFINED INPUT_FILE)
  set(input INPUT_FILE ${INPUT_FILE})
endif()
if(DEFINED FIFO)
  file(REMOVE ${FIFO})
  execute_process(COMMAND mkfifo ${FIFO} RESULT_VARIABLE made)
  if(NOT made EQUAL 0)
    message(FATAL_ERROR "cannot make the FIFO ${FIFO}")
  endif()
endif()
execute_process(COMMAND ${TOOL} ${ARGS} ${input} TIMEOUT 30
  RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(DEFINED FIFO)
  file(REMOVE ${FIFO})
endif()
if(NOT code STREQUAL "${EXPECT_CODE}")
  message(FATAL_ERROR "exit code ${code}, expected ${EXPECT_CODE}\nstdout:\n${out}\nstderr:\n${err}")
endif()
if(NOT "${out}${err}" MATCHES "${EXPECT_REGEX}")
  message(FATAL_ERROR "output does not match ${EXPECT_REGEX}\nstdout:\n${out}\nstderr:\n${err}")
endif()
