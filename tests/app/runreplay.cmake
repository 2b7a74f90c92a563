# Runs one replay and compares its trace with the expected one.
#   -DHOST=zubrel-host -DCHECKER=tracecheck -DSCRIPT=x.replay -DEXPECTED=x.trace -DOUT=actual.trace
# The exit status the host must give is 0 unless the script says "# exit: N".
# A script that says "# after: other.replay" runs in the same fresh profile
# right after that one, as a restart of the client would.
file(STRINGS ${SCRIPT} exit_line REGEX "^# exit: [0-9]+$" LIMIT_COUNT 1)
set(expected_status 0)
if(exit_line)
  string(REGEX REPLACE "^# exit: " "" expected_status "${exit_line}")
endif()
get_filename_component(out_dir ${OUT} DIRECTORY)
file(MAKE_DIRECTORY ${out_dir})
file(REMOVE ${OUT})
set(profile_args "")
# "# sound: server" runs the host with a private sound server of its own.
file(STRINGS ${SCRIPT} sound_line REGEX "^# sound: server$" LIMIT_COUNT 1)
if(sound_line)
  list(APPEND profile_args --sound-server)
endif()
file(STRINGS ${SCRIPT} after_line REGEX "^# after: .+$" LIMIT_COUNT 1)
if(after_line)
  string(REGEX REPLACE "^# after: " "" first_script "${after_line}")
  get_filename_component(script_dir ${SCRIPT} DIRECTORY)
  set(profile ${out_dir}/profile-${first_script})
  file(REMOVE_RECURSE ${profile})
  execute_process(COMMAND ${HOST} --replay ${script_dir}/${first_script} --trace ${OUT}.first --profile ${profile}
                  RESULT_VARIABLE first_status ERROR_VARIABLE host_errors TIMEOUT 100)
  if(NOT first_status EQUAL 0)
    message(FATAL_ERROR "${first_script} exited with ${first_status}\n${host_errors}")
  endif()
  list(APPEND profile_args --profile ${profile})
endif()
execute_process(COMMAND ${HOST} --replay ${SCRIPT} --trace ${OUT} ${profile_args}
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
