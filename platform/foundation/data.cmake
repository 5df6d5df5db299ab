add_library(vantorel_foundation SHARED
  ${CMAKE_CURRENT_LIST_DIR}/device_path.cpp
)
target_include_directories(vantorel_foundation PUBLIC ${PROJECT_SOURCE_DIR}/platform)
target_link_libraries(vantorel_foundation PUBLIC vantorel_objc)
