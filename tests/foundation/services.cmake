# Tests of the foundation services: clock and dates, run loop, timers, delayed performs,
# Darwin notifications (with a second process), system log, calendars and date formatters.
add_executable(notification_helper ${CMAKE_CURRENT_LIST_DIR}/notification_helper.cpp)
target_link_libraries(notification_helper PRIVATE vantorel_foundation_services)

vantorel_test(foundation_services_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/date_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/runloop_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/timer_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/perform_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/notification_center_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/log_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/calendar_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/date_formatter_test.cpp
  LIBS vantorel_foundation_services)
add_dependencies(foundation_services_tests notification_helper)
