# vantorel_uikit: views, layers, labels, image views, controls, controllers, alerts, application,
# screen, gestures and simulated touches, animation, the blur backdrop, index paths.
add_library(vantorel_uikit SHARED
  ${CMAKE_CURRENT_LIST_DIR}/responder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/layer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/view.cpp
  ${CMAKE_CURRENT_LIST_DIR}/label.cpp
  ${CMAKE_CURRENT_LIST_DIR}/image_view.cpp
  ${CMAKE_CURRENT_LIST_DIR}/control.cpp
  ${CMAKE_CURRENT_LIST_DIR}/button.cpp
  ${CMAKE_CURRENT_LIST_DIR}/text_field.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bar_button_item.cpp
  ${CMAKE_CURRENT_LIST_DIR}/navigation_item.cpp
  ${CMAKE_CURRENT_LIST_DIR}/view_controller.cpp
  ${CMAKE_CURRENT_LIST_DIR}/alert_controller.cpp
  ${CMAKE_CURRENT_LIST_DIR}/application.cpp
  ${CMAKE_CURRENT_LIST_DIR}/screen.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/gesture_recognizer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tap_gesture_recognizer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/touch_simulator.cpp
  ${CMAKE_CURRENT_LIST_DIR}/backdrop_view.cpp
  ${CMAKE_CURRENT_LIST_DIR}/index_path.cpp
)
target_include_directories(vantorel_uikit PUBLIC ${PROJECT_SOURCE_DIR}/platform)
target_link_libraries(vantorel_uikit PUBLIC vantorel_uikit_graphics vantorel_objc vantorel_foundation)
