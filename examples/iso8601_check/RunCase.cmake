# Runs iso8601-check for one case and compares the outcome.
#   CASE.args    the arguments, one per line (may be empty)
#   CASE.in      standard input (optional)
#   CASE.out     what the tool must print on standard output
#   CASE.status  the exit status it must return
file(STRINGS ${CASE}.args args ENCODING UTF-8)
file(READ ${CASE}.status want_status)
string(STRIP "${want_status}" want_status)
file(READ ${CASE}.out want_out)
set(input_args)
if(EXISTS ${CASE}.in)
  set(input_args INPUT_FILE ${CASE}.in)
endif()
execute_process(COMMAND ${TOOL} ${args} ${input_args}
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
if(NOT out STREQUAL want_out)
  message(FATAL_ERROR "output differs for ${CASE}\n--- got ---\n${out}--- expected ---\n${want_out}--- stderr ---\n${err}")
endif()
if(NOT status STREQUAL want_status)
  message(FATAL_ERROR "exit status ${status}, expected ${want_status} for ${CASE}\n${err}")
endif()
