# -DLUPDATE -DLRELEASE -DSOURCE=checkout -DDIRS=folders -DWORK=scratch folder
file(GLOB translations ${SOURCE}/translations/zubrel_*.ts)
if(NOT translations)
  message(FATAL_ERROR "no translations under ${SOURCE}/translations")
endif()
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(folders)
foreach(dir ${DIRS})
  list(APPEND folders ${SOURCE}/${dir})
endforeach()
foreach(ts ${translations})
  get_filename_component(name ${ts} NAME)
  file(COPY ${ts} DESTINATION ${WORK})
  execute_process(COMMAND ${LUPDATE} -silent -locations none -no-obsolete ${folders} -ts ${WORK}/${name}
                  RESULT_VARIABLE status ERROR_VARIABLE errors OUTPUT_QUIET)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "lupdate failed:\n${errors}")
  endif()
  execute_process(COMMAND ${LRELEASE} ${WORK}/${name} -qm ${WORK}/${name}.qm
                  OUTPUT_VARIABLE report ERROR_VARIABLE report)
  # Texts missing from the file come back unfinished; an emptied one is
  # reported as untranslated.
  if(NOT report MATCHES "\\(([0-9]+) finished and 0 unfinished\\)" OR report MATCHES "untranslated")
    execute_process(COMMAND grep -B3 "type=\"unfinished\"" ${WORK}/${name} OUTPUT_VARIABLE context)
    message(FATAL_ERROR "${name} is not complete:\n${report}\n${context}")
  endif()
endforeach()
