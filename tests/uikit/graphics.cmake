vantorel_test(uikit_graphics_tests
  ${CMAKE_CURRENT_LIST_DIR}/color_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/font_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/image_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/drawing_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/text_drawing_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bezier_path_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pixels.cpp
  LIBS vantorel_uikit_graphics)
