# vantorel_uikit_scroll: scroll views and simulated drags, the flow layout, collection and table
# views with their cells, over one shared cell host.
add_library(vantorel_uikit_scroll SHARED
  ${CMAKE_CURRENT_LIST_DIR}/scroll_view.cpp
  ${CMAKE_CURRENT_LIST_DIR}/drag_simulator.cpp
  ${CMAKE_CURRENT_LIST_DIR}/flow_layout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cell_host.cpp
  ${CMAKE_CURRENT_LIST_DIR}/collection_view.cpp
  ${CMAKE_CURRENT_LIST_DIR}/collection_view_cell.cpp
  ${CMAKE_CURRENT_LIST_DIR}/table_view.cpp
  ${CMAKE_CURRENT_LIST_DIR}/table_view_cell.cpp
)
target_link_libraries(vantorel_uikit_scroll PUBLIC vantorel_uikit)
