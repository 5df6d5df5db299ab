vantorel_test(uikit_scroll_tests
  ${CMAKE_CURRENT_LIST_DIR}/scroll_view_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/flow_layout_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/collection_view_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/table_view_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cell_host_test.cpp
  LIBS vantorel_uikit_scroll)
