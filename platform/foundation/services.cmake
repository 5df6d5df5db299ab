# vantorel_foundation_services: the main run loop, the virtual clock, timers and delayed
# performs, the Darwin notification centre on the session bus, the system log, and dates,
# calendars, locales and time zones on ICU.
pkg_check_modules(SYSTEMD REQUIRED IMPORTED_TARGET libsystemd)
pkg_check_modules(ICU REQUIRED IMPORTED_TARGET icu-uc icu-i18n)

add_library(vantorel_foundation_services SHARED
  ${CMAKE_CURRENT_LIST_DIR}/clock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/date.cpp
  ${CMAKE_CURRENT_LIST_DIR}/runloop.cpp
  ${CMAKE_CURRENT_LIST_DIR}/timer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/perform.cpp
  ${CMAKE_CURRENT_LIST_DIR}/notification_center.cpp
  ${CMAKE_CURRENT_LIST_DIR}/log.cpp
  ${CMAKE_CURRENT_LIST_DIR}/timezone.cpp
  ${CMAKE_CURRENT_LIST_DIR}/locale.cpp
  ${CMAKE_CURRENT_LIST_DIR}/calendar.cpp
  ${CMAKE_CURRENT_LIST_DIR}/date_components.cpp
  ${CMAKE_CURRENT_LIST_DIR}/date_formatter.cpp
)
target_include_directories(vantorel_foundation_services PUBLIC ${PROJECT_SOURCE_DIR}/platform)
target_link_libraries(vantorel_foundation_services
  PUBLIC vantorel_objc vantorel_foundation
  PRIVATE PkgConfig::SYSTEMD PkgConfig::ICU)
