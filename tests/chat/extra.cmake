# A skin resource file in an application folder of its own, for the tests of
# the skin the mandator answer selects.
set(chat_test_app_dir ${CMAKE_BINARY_DIR}/tests/chatapp)
qt_add_binary_resources(chattestskin ${CMAKE_CURRENT_SOURCE_DIR}/data/chattest.qrc
  DESTINATION ${chat_test_app_dir}/skins/chattest.res)
if(TARGET tst_chatcore)
  add_dependencies(tst_chatcore chattestskin)
  target_compile_definitions(tst_chatcore PRIVATE CHAT_TEST_APP_DIR="${chat_test_app_dir}")
endif()
