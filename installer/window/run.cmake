# The installation run: its portable logic (result texts, commands, the run loop, the countdown,
# the pause timer, the log writer's rules) and their Windows halves (RunAndWait and its
# watcher, control trees, the timer's hidden window, the log file writer).
add_library(korvel_run STATIC
  error_code_hex.cpp
  install_run.cpp
  pause_timer.cpp
  countdown.cpp
  save_file_rules.cpp)
target_include_directories(korvel_run PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(korvel_run PUBLIC korvel_platform)
korvel_warnings(korvel_run)

if(WIN32)
  add_library(korvel_run_win32 STATIC
    funktionen_win32.cpp
    pause_timer_win32.cpp
    save_file_win32.cpp
    run_system_win32.cpp)
  target_link_libraries(korvel_run_win32 PUBLIC korvel_run korvel_platform user32)
  korvel_warnings(korvel_run_win32)
endif()

if(KORVEL_TESTS)
  include(tests/run_tests.cmake)
endif()
