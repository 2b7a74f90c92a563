# Builds the Debian package, unpacks it into a scratch root (never installed
# on the machine) and runs the installed demo host from there: a replay
# with emoticons, links and the chat log must trace as it does from the
# build, with the build's folders out of its reach.
#   -DBUILD=build folder -DWORK=scratch folder -DCHECKER=tracecheck -DREPLAY=x.replay
#   -DGERMAN=y.replay, run with --lang de: a refused message is told in German
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND cpack --config ${BUILD}/CPackConfig.cmake -B ${WORK}/package
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
file(GLOB debs ${WORK}/package/*.deb)
list(LENGTH debs count)
if(NOT status EQUAL 0 OR NOT count EQUAL 1)
  message(FATAL_ERROR "cpack gave ${status} and ${count} packages:\n${output}")
endif()

# Qt's libraries come from dpkg-shlibdeps, the plug-ins loaded at run time
# are named by hand: without them the package installs but cannot start.
execute_process(COMMAND dpkg-deb -f ${debs} Package Depends OUTPUT_VARIABLE fields)
foreach(needed "Package: zubrel-chat" libqt6widgets6 libqt6sql6 libhunspell qt6-qpa-plugins libqt6sql6-sqlite libqt6svg6)
  string(FIND "${fields}" "${needed}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the package lacks ${needed}:\n${fields}")
  endif()
endforeach()

set(root ${WORK}/root)
execute_process(COMMAND dpkg-deb -x ${debs} ${root} RESULT_VARIABLE status)
file(GLOB_RECURSE module ${root}/usr/lib/*/zubrelChat.so)
if(NOT status EQUAL 0 OR NOT module)
  message(FATAL_ERROR "unpacking gave ${status}, module: '${module}'")
endif()
get_filename_component(app ${module} DIRECTORY)
foreach(file ${root}/usr/bin/zubrel-host ${root}/usr/share/applications/zubrel-host.desktop
             ${root}/usr/share/icons/hicolor/scalable/apps/zubrel.svg
             ${root}/usr/share/icons/hicolor/48x48/apps/zubrel.png
             ${app}/plugins/log/chatlogger.so ${app}/skins/zubrel.res ${app}/smileys/default/smileys.xml
             ${app}/sounds/standard/zubrel_typewriter.wav ${app}/translations/zubrel_de.qm)
  if(NOT EXISTS ${file})
    message(FATAL_ERROR "the package lacks ${file}")
  endif()
endforeach()

# The menu entry as desktops read it.
find_program(VALIDATE desktop-file-validate)
if(VALIDATE)
  execute_process(COMMAND ${VALIDATE} ${root}/usr/share/applications/zubrel-host.desktop
                  RESULT_VARIABLE status OUTPUT_VARIABLE report ERROR_VARIABLE report)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "the menu entry is not valid:\n${report}")
  endif()
endif()

# An install path left in the binaries would load the build's libraries.
foreach(binary ${app}/zubrel-host ${module} ${app}/plugins/log/chatlogger.so)
  execute_process(COMMAND ldd ${binary} OUTPUT_VARIABLE libraries)
  string(REGEX MATCHALL "lib(zcore|wrap|gui|qtsupport)\\.so => [^ ]+" own "${libraries}")
  foreach(line ${own})
    if(NOT line MATCHES " => ${app}/")
      message(FATAL_ERROR "${binary}: ${line} is not the package's own")
    endif()
  endforeach()
endforeach()

unset(ENV{ZUBREL_APP_DIR})
unset(ENV{LD_LIBRARY_PATH})
set(ENV{QT_QPA_PLATFORM} offscreen)
get_filename_component(name ${REPLAY} NAME_WE)
get_filename_component(replays ${REPLAY} DIRECTORY)
execute_process(COMMAND ${root}/usr/bin/zubrel-host --replay ${REPLAY} --trace ${WORK}/${name}.trace
                RESULT_VARIABLE status ERROR_VARIABLE errors TIMEOUT 60)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the installed demo host exited with ${status}\n${errors}")
endif()
execute_process(COMMAND ${CHECKER} ${replays}/${name}.trace ${WORK}/${name}.trace
                RESULT_VARIABLE same ERROR_VARIABLE difference)
if(NOT same EQUAL 0)
  message(FATAL_ERROR "the installed demo host traced otherwise:\n${difference}")
endif()

# The module finds its German texts in the installed tree.
execute_process(COMMAND ${root}/usr/bin/zubrel-host --replay ${GERMAN} --lang de --trace ${WORK}/german.trace
                RESULT_VARIABLE status ERROR_VARIABLE errors TIMEOUT 60)
file(READ ${WORK}/german.trace trace)
string(FIND "${trace}" "Die Nachricht konnte nicht übertragen werden." at)
if(NOT status EQUAL 0 OR at EQUAL -1)
  message(FATAL_ERROR "the installed demo host with --lang de exited with ${status} and traced:\n${trace}\n${errors}")
endif()
