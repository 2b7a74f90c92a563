# Installed layout. The client expects one application folder holding its
# executables, libraries, the module and its data (plugins/, skins/ ...), so
# that folder lives privately under the library folder, the data shared
# under share/zubrel with links from the application folder, and the demo
# host is started through a link in bin/ (the binary resolves links to find
# its folder).
include(GNUInstallDirs)

set(ZUBREL_INSTALL_APPDIR ${CMAKE_INSTALL_LIBDIR}/zubrel)
set(ZUBREL_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/zubrel)
# Everything in the application folder finds its neighbours there; the
# chat-log plug-in sits two folders further down.
set_target_properties(zubrel-host zubrelChat wrap wrapxmpp zcore gui qtsupport PROPERTIES INSTALL_RPATH "\$ORIGIN")

install(TARGETS zubrel-host RUNTIME DESTINATION ${ZUBREL_INSTALL_APPDIR})
install(TARGETS zubrelChat wrap wrapxmpp zcore gui qtsupport
  LIBRARY DESTINATION ${ZUBREL_INSTALL_APPDIR})
set_target_properties(chatlogger PROPERTIES INSTALL_RPATH "\$ORIGIN/../..")
install(TARGETS chatlogger LIBRARY DESTINATION ${ZUBREL_INSTALL_APPDIR}/plugins/log)

# Data made at build time in the build's application folder.
set(ZUBREL_DATA_FOLDERS demo pushmessages skins smileys sounds spelling translations)
foreach(folder ${ZUBREL_DATA_FOLDERS})
  install(DIRECTORY ${ZUBREL_APP_DIR}/${folder} DESTINATION ${ZUBREL_INSTALL_DATADIR} OPTIONAL)
endforeach()

file(RELATIVE_PATH data_from_app /${ZUBREL_INSTALL_APPDIR} /${ZUBREL_INSTALL_DATADIR})
file(RELATIVE_PATH app_from_bin /${CMAKE_INSTALL_BINDIR} /${ZUBREL_INSTALL_APPDIR})
install(CODE "
  set(app \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${ZUBREL_INSTALL_APPDIR}\")
  foreach(folder ${ZUBREL_DATA_FOLDERS})
    file(CREATE_LINK ${data_from_app}/\${folder} \${app}/\${folder} SYMBOLIC)
  endforeach()
  file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  file(CREATE_LINK ${app_from_bin}/zubrel-host
       \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/zubrel-host\" SYMBOLIC)
")

# Desktop menu entry and the application icon in the sizes desktops ask for.
install(FILES ${CMAKE_SOURCE_DIR}/packaging/zubrel-host.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/zubrel.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size ${ZUBREL_ICON_SIZES})
  install(FILES ${CMAKE_BINARY_DIR}/icons/${size}/zubrel.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# cpack -G DEB: the Debian package. Library dependencies come from
# dpkg-shlibdeps; Qt's plug-ins the client loads at run time (platforms,
# SVG pictures, the SQLite driver of the chat log) are named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zubrel-chat)
set(CPACK_PACKAGE_VENDOR "Zubrel")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Chat module of the Zubrel messenger with its demo host")
set(CPACK_PACKAGE_DESCRIPTION "The chat window of the Zubrel instant messenger: tabs, emoticons,\n multi chats and chat history, with a demo host whose bots chat back.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Zubrel developers <dev@zubrel.com>")
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6, libqt6sql6-sqlite, qt6-image-formats-plugins")
# Qt's own texts (standard buttons) in the user's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
include(CPack)
