# vantorel_uikit_render: draws view trees to pictures (renderer, blur, snapshots), and the
# render_fixture tool that draws a view tree described in JSON. Built once the scroll views exist.
if(NOT TARGET vantorel_uikit_scroll)
  return()
endif()

add_library(vantorel_uikit_render SHARED
  ${CMAKE_CURRENT_LIST_DIR}/renderer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/render_paint.cpp
  ${CMAKE_CURRENT_LIST_DIR}/render_content.cpp
  ${CMAKE_CURRENT_LIST_DIR}/render_backdrop.cpp
  ${CMAKE_CURRENT_LIST_DIR}/render_blend_mode.cpp
  ${CMAKE_CURRENT_LIST_DIR}/render_blur.cpp
  ${CMAKE_CURRENT_LIST_DIR}/snapshot.cpp
)
target_link_libraries(vantorel_uikit_render PUBLIC vantorel_uikit_scroll)
# The blur is the hot path of every frame with a backdrop; its loops want the vectoriser.
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/render_blur.cpp PROPERTIES COMPILE_OPTIONS "-O3")

find_package(nlohmann_json REQUIRED)
add_library(vantorel_render_fixture STATIC ${CMAKE_CURRENT_LIST_DIR}/render_fixture.cpp)
target_link_libraries(vantorel_render_fixture PUBLIC vantorel_uikit_render PRIVATE nlohmann_json::nlohmann_json)

add_executable(render_fixture ${CMAKE_CURRENT_LIST_DIR}/render_fixture_main.cpp)
target_link_libraries(render_fixture PRIVATE vantorel_render_fixture)
