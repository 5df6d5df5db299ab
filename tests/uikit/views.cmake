vantorel_test(uikit_views_tests
  ${CMAKE_CURRENT_LIST_DIR}/view_hierarchy_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/view_layout_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/touch_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/label_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/view_controller_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/application_test.cpp
  LIBS vantorel_uikit)
