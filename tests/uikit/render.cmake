# The renderer's tests; the fixture tests run the render_fixture tool on tests/uikit/fixtures.
vantorel_test(uikit_render_tests
  ${CMAKE_CURRENT_LIST_DIR}/render_blur_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/render_fast_paths_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/render_view_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/render_fixture_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/render_pixels.cpp
  LIBS vantorel_uikit_render vantorel_render_fixture)
target_compile_definitions(uikit_render_tests PRIVATE
  RENDER_FIXTURES_DIR="${CMAKE_CURRENT_LIST_DIR}/fixtures")
add_dependencies(uikit_render_tests render_fixture)
