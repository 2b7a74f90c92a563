# Module pictures (section arrows, menu icons, the hidden emoticons) are
# compiled into the module; the emoticon themes, their sounds and the
# push-message theme are generated into the application folder at build time.
target_sources(zubrelchat_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/themes/pickers.qrc)

add_executable(zubrel_themegen
  ${CMAKE_CURRENT_LIST_DIR}/themes/themegen.cpp
  ${CMAKE_CURRENT_LIST_DIR}/themes/artwork.cpp
  ${CMAKE_CURRENT_LIST_DIR}/themes/artwork.h
  ${CMAKE_CURRENT_LIST_DIR}/themes/gifwriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/themes/gifwriter.h
  ${CMAKE_CURRENT_LIST_DIR}/themes/wavsynth.cpp
  ${CMAKE_CURRENT_LIST_DIR}/themes/wavsynth.h)
target_link_libraries(zubrel_themegen PRIVATE Qt6::Gui)
set_target_properties(zubrel_themegen PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

set(ZUBREL_THEMES_STAMP ${CMAKE_BINARY_DIR}/themes/themes.stamp)
add_custom_command(
  OUTPUT ${ZUBREL_THEMES_STAMP}
  COMMAND $<TARGET_FILE:zubrel_themegen> ${ZUBREL_APP_DIR} ${CMAKE_BINARY_DIR}/themes $<TARGET_FILE:Qt6::rcc>
  COMMAND ${CMAKE_COMMAND} -E touch ${ZUBREL_THEMES_STAMP}
  DEPENDS zubrel_themegen
  COMMENT "Drawing the emoticon themes and synthesising their sounds"
  VERBATIM)
add_custom_target(zubrel_themes ALL DEPENDS ${ZUBREL_THEMES_STAMP})
# Anything built on the module (the plug-in, the tests) finds the themes.
add_dependencies(zubrelchat_core zubrel_themes)
