pkg_check_modules(VANTOREL_GRAPHICS REQUIRED IMPORTED_TARGET cairo pangocairo pango fontconfig)

add_library(vantorel_uikit_graphics SHARED
  ${CMAKE_CURRENT_LIST_DIR}/color.cpp
  ${CMAKE_CURRENT_LIST_DIR}/font.cpp
  ${CMAKE_CURRENT_LIST_DIR}/image.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bezier_path.cpp
  ${CMAKE_CURRENT_LIST_DIR}/drawing.cpp
  ${CMAKE_CURRENT_LIST_DIR}/text_drawing.cpp
  ${CMAKE_CURRENT_LIST_DIR}/text_layout.cpp
)
target_include_directories(vantorel_uikit_graphics PUBLIC ${PROJECT_SOURCE_DIR}/platform)
target_link_libraries(vantorel_uikit_graphics
  PUBLIC vantorel_objc vantorel_foundation PkgConfig::VANTOREL_GRAPHICS)
