# vantorel_test(NAME [SERIAL] SOURCES... LIBS libs...)
# One GoogleTest executable; each test runs in its own temporary device root (see tests/support).
# SERIAL: its tests run alone, for tests that need the machine to themselves. (Notifications need
# no such care: every test process has a session bus of its own, see tests/support/private_bus.h.)
function(vantorel_test name)
  cmake_parse_arguments(T "SERIAL" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES} ${T_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${T_LIBS} vantorel_test_support GTest::gtest_main GTest::gmock)
  # Leak reports under the sanitizers skip the suppressions file; it is set in the environment so
  # that programs a test starts are covered too. (The build folder is compiled into the support
  # library: one variable is all the discovered tests' environment can carry.)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/support/lsan/suppressions.txt:print_suppressions=0"
               RUN_SERIAL ${T_SERIAL})
endfunction()

# vantorel_stage(TARGET device/path) copies a built target to its place in the device root.
function(vantorel_stage target devpath)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory "${VANTOREL_DEVICE_ROOT}/${devpath}"
    COMMAND ${CMAKE_COMMAND} -E copy "$<TARGET_FILE:${target}>" "${VANTOREL_DEVICE_ROOT}/${devpath}/"
    VERBATIM)
endfunction()

# $<LINK_LIBRARY:LOADED,lib>: the program loads the library even when it names none of its
# symbols (the toolchain drops such libraries), for a library whose classes are found by name.
set(CMAKE_LINK_LIBRARY_USING_LOADED "LINKER:--push-state,--no-as-needed" "<LINK_ITEM>" "LINKER:--pop-state")
set(CMAKE_LINK_LIBRARY_USING_LOADED_SUPPORTED TRUE)

include(${CMAKE_CURRENT_LIST_DIR}/Fuzzing.cmake)
