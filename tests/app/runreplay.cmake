# Runs one replay and compares its trace with the expected one.
#   -DHOST=zubrel-host -DCHECKER=tracecheck -DSCRIPT=x.replay -DEXPECTED=x.trace -DOUT=actual.trace
# The exit status the host must give is 0 unless the script says "# exit: N".
file(STRINGS ${SCRIPT} exit_line REGEX "^# exit: [0-9]+$" LIMIT_COUNT 1)
set(expected_status 0)
if(exit_line)
  string(REGEX REPLACE "^# exit: " "" expected_status "${exit_line}")
endif()
get_filename_component(out_dir ${OUT} DIRECTORY)
file(MAKE_DIRECTORY ${out_dir})
file(REMOVE ${OUT})
execute_process(COMMAND ${HOST} --replay ${SCRIPT} --trace ${OUT}
                RESULT_VARIABLE status ERROR_VARIABLE host_errors TIMEOUT 100)
if(NOT status STREQUAL expected_status)
  file(READ ${OUT} trace)
  message(FATAL_ERROR "zubrel-host exited with ${status}, expected ${expected_status}\n${host_errors}\ntrace:\n${trace}")
endif()
execute_process(COMMAND ${CHECKER} ${EXPECTED} ${OUT} RESULT_VARIABLE same ERROR_VARIABLE difference)
if(NOT same EQUAL 0)
  file(READ ${OUT} trace)
  message(FATAL_ERROR "${difference}\nactual trace (${OUT}):\n${trace}")
endif()
