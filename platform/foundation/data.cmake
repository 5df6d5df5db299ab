# vantorel_foundation: the value classes (strings, numbers, arrays, dictionaries, data),
# property lists (written with libplist), the device file system, bundles and the loader for device paths.
pkg_check_modules(PLIST REQUIRED IMPORTED_TARGET libplist-2.0)

add_library(vantorel_foundation SHARED
  ${CMAKE_CURRENT_LIST_DIR}/device_path.cpp
  ${CMAKE_CURRENT_LIST_DIR}/confined_path.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ns_string.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ns_number.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ns_array.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ns_dictionary.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ns_data.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ns_error.cpp
  ${CMAKE_CURRENT_LIST_DIR}/value_reading.cpp
  ${CMAKE_CURRENT_LIST_DIR}/host_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/property_list_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/property_list_reading.cpp
  ${CMAKE_CURRENT_LIST_DIR}/property_list_xml.cpp
  ${CMAKE_CURRENT_LIST_DIR}/property_list_binary.cpp
  ${CMAKE_CURRENT_LIST_DIR}/property_list.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ns_file_manager.cpp
  ${CMAKE_CURRENT_LIST_DIR}/loader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ns_bundle.cpp
)
target_include_directories(vantorel_foundation PUBLIC ${PROJECT_SOURCE_DIR}/platform)
target_link_libraries(vantorel_foundation PUBLIC vantorel_objc PRIVATE PkgConfig::PLIST ${CMAKE_DL_LIBS})
