# Qt's headers are most of what each of our files costs to compile (a few
# seconds each, against a fraction of a second for the file itself). They
# are compiled once into a precompiled header that every target reuses.
#
# gcc silently ignores, and clang refuses, a precompiled header made with
# other code-generation settings: symbol visibility differs between the host
# stand-in libraries and everything else, so there are two, each made by a
# small target of its own so that nothing waits for a large one. Everything
# else compiles with -fPIC (Qt asks for it). Macros that only some targets
# define (QT_WIDGETS_LIB, <NAME>_LIBRARY) are tested by none of the headers
# below, which is why QtTest (it tests them) is left out.
option(ZUBREL_PCH "Precompile the Qt headers every part of the build uses" ON)

set(ZUBREL_PCH_HEADERS
  <QtCore/QObject> <QtCore/QString> <QtCore/QStringList> <QtCore/QList> <QtCore/QHash>
  <QtCore/QSet> <QtCore/QMap> <QtCore/QPointer> <QtCore/QTimer> <QtCore/QFile>
  <QtCore/QFileInfo> <QtCore/QDir> <QtCore/QByteArray> <QtCore/QVariant> <QtCore/QDateTime>
  <QtCore/QUrl> <QtCore/QJsonObject> <QtCore/QJsonArray> <QtCore/QJsonDocument>
  <QtCore/QCoreApplication> <QtCore/QRegularExpression> <QtCore/QTemporaryDir>
  <QtCore/QStandardPaths> <QtCore/QElapsedTimer> <QtCore/QBuffer>
  <QtGui/QImage> <QtGui/QPixmap> <QtGui/QPainter> <QtGui/QTextDocument> <QtGui/QTextCursor>
  <QtGui/QIcon> <QtGui/QAction> <QtGui/QGuiApplication> <QtGui/QScreen>
  <QtWidgets/QWidget> <QtWidgets/QApplication> <QtWidgets/QLabel> <QtWidgets/QVBoxLayout>
  <QtWidgets/QHBoxLayout> <QtWidgets/QPushButton> <QtWidgets/QToolButton> <QtWidgets/QMenu>
  <QtWidgets/QScrollBar> <QtWidgets/QTextEdit> <QtWidgets/QFrame> <QtWidgets/QToolBar>)

# zubrel_pch_donor(<name> <visibility>): the target that makes one of them.
function(zubrel_pch_donor name visibility)
  set(anchor ${CMAKE_BINARY_DIR}/pch/${name}.cpp)
  if(NOT EXISTS ${anchor})
    file(WRITE ${anchor} "// Only here to make the precompiled Qt headers.\n")
  endif()
  add_library(${name} OBJECT ${anchor})
  set_target_properties(${name} PROPERTIES AUTOMOC OFF AUTORCC OFF)
  # Qt's compile options and QT_CORE_LIB, which every user has; only the
  # include folders of the others, whose QT_<MODULE>_LIB would otherwise come
  # along inside the header into targets that do not link them.
  target_link_libraries(${name} PRIVATE Qt6::Core)
  target_include_directories(${name} PRIVATE
    $<TARGET_PROPERTY:Qt6::Gui,INTERFACE_INCLUDE_DIRECTORIES>
    $<TARGET_PROPERTY:Qt6::Widgets,INTERFACE_INCLUDE_DIRECTORIES>)
  target_precompile_headers(${name} PRIVATE ${ZUBREL_PCH_HEADERS})
  if(visibility STREQUAL "default")
    set_target_properties(${name} PROPERTIES CXX_VISIBILITY_PRESET default VISIBILITY_INLINES_HIDDEN OFF)
  endif()
  if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    # No time stamps, and the headers' text inside: the header then does
    # not depend on when or in which checkout it was made, so ccache can
    # hand it to another clone or worktree, which can still compile with
    # it once the folder it was made in is gone.
    target_compile_options(${name} PRIVATE
      "SHELL:-Xclang -fno-pch-timestamp" "SHELL:-Xclang -fmodules-embed-all-files")
  endif()
endfunction()

function(zubrel_collect_targets dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub ${subdirs})
    zubrel_collect_targets(${sub} more)
    list(APPEND targets ${more})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

# zubrel_precompile_qt_headers(): called once every target exists; gives each
# compiled target that uses Qt the precompiled header matching its settings.
function(zubrel_precompile_qt_headers)
  if(NOT ZUBREL_PCH)
    return()
  endif()
  zubrel_pch_donor(zubrel_pch_hidden hidden)
  zubrel_pch_donor(zubrel_pch_default default)
  zubrel_collect_targets(${CMAKE_SOURCE_DIR} targets)
  foreach(target ${targets})
    get_target_property(type ${target} TYPE)
    if(NOT type MATCHES "^(EXECUTABLE|SHARED_LIBRARY|MODULE_LIBRARY|STATIC_LIBRARY|OBJECT_LIBRARY)$"
       OR target MATCHES "^zubrel_pch_")
      continue()
    endif()
    # A target that links nothing (the sound generator) has no Qt to share.
    get_target_property(libs ${target} LINK_LIBRARIES)
    get_target_property(own ${target} PRECOMPILE_HEADERS)
    if(NOT libs OR own)
      continue()
    endif()
    get_target_property(visibility ${target} CXX_VISIBILITY_PRESET)
    if(visibility STREQUAL "default")
      target_precompile_headers(${target} REUSE_FROM zubrel_pch_default)
    else()
      target_precompile_headers(${target} REUSE_FROM zubrel_pch_hidden)
    endif()
  endforeach()
endfunction()
