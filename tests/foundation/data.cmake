# Tests of the foundation's data half: values, property lists, the device file system,
# bundles and the loader. The modules are bundle executables and a plain library, staged
# into the device root at test time.
add_library(foundation_test_plates MODULE ${CMAKE_CURRENT_LIST_DIR}/bundle_plates.cpp)
target_link_libraries(foundation_test_plates PRIVATE vantorel_objc)
add_library(foundation_test_tiles MODULE ${CMAKE_CURRENT_LIST_DIR}/bundle_tiles.cpp)
target_link_libraries(foundation_test_tiles PRIVATE vantorel_objc)
add_library(foundation_test_plain MODULE ${CMAKE_CURRENT_LIST_DIR}/loader_plain.cpp)

vantorel_test(foundation_data_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/string_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/collections_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/property_list_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/file_manager_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/bundle_test.cpp
  LIBS vantorel_foundation)
add_dependencies(foundation_data_tests foundation_test_plates foundation_test_tiles foundation_test_plain)
