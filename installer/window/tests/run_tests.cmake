# Tests of the installation run's pieces. The portable ones run natively and under Wine; the
# Windows ones start the helper programs of tests/helpers/ beside the test program.
korvel_add_gtest(NAME run_logic_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/result_text_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/install_run_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/pause_timer_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/save_file_rules_test.cpp
  LIBS korvel_run korvel_fake_platform)

if(WIN32)
  add_executable(exit_with ${CMAKE_CURRENT_LIST_DIR}/helpers/exit_with.cpp)
  korvel_warnings(exit_with)

  korvel_add_gtest(NAME run_process_test
    SOURCES
      ${CMAKE_CURRENT_LIST_DIR}/run_and_wait_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/pause_timer_window_test.cpp
    LIBS korvel_run_win32)
  add_dependencies(run_process_test exit_with)

  # Child controls need a display: this test runs on a private Xvfb server, in a prefix of its
  # own so that no desktop started without a display by a parallel test is shared with it.
  add_executable(run_controls_test ${CMAKE_CURRENT_LIST_DIR}/controls_test.cpp ${CMAKE_SOURCE_DIR}/cmake/gtest_wmain.cpp)
  korvel_warnings(run_controls_test)
  target_link_libraries(run_controls_test PRIVATE korvel_run_win32 GTest::gtest GTest::gmock)
  set(KORVEL_DISPLAY_PREFIX ${CMAKE_BINARY_DIR}/wineprefix-display)
  add_test(NAME run_controls_prefix COMMAND ${KORVEL_WINE_RUN} --init)
  set_tests_properties(run_controls_prefix PROPERTIES FIXTURES_SETUP display_prefix
    ENVIRONMENT "WINEPREFIX=${KORVEL_DISPLAY_PREFIX}")
  add_test(NAME run_controls_test
    COMMAND ${CMAKE_CURRENT_LIST_DIR}/with-xvfb.sh ${KORVEL_WINE_RUN} $<TARGET_FILE:run_controls_test>)
  set_tests_properties(run_controls_test PROPERTIES FIXTURES_REQUIRED display_prefix LABELS "wine"
    ENVIRONMENT "WINEPREFIX=${KORVEL_DISPLAY_PREFIX}")

  # The log writer's drive checks need a CD drive, which Wine only maps when its prefix says so
  # before the prefix starts: this test gets a prefix of its own with drive R: as a CD drive.
  set(KORVEL_CDROM_PREFIX ${CMAKE_BINARY_DIR}/wineprefix-cdrom)
  korvel_add_gtest(NAME run_log_file_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/save_file_test.cpp
    LIBS korvel_run_win32)
  add_test(NAME run_log_file_prefix
    COMMAND ${CMAKE_CURRENT_LIST_DIR}/cdrom-prefix.sh ${KORVEL_WINE_RUN} r ${CMAKE_BINARY_DIR}/cdrom-drive)
  set_tests_properties(run_log_file_prefix PROPERTIES FIXTURES_SETUP cdrom_prefix
    ENVIRONMENT "WINEPREFIX=${KORVEL_CDROM_PREFIX}")
  set_tests_properties(run_log_file_test PROPERTIES FIXTURES_REQUIRED cdrom_prefix
    ENVIRONMENT "WINEPREFIX=${KORVEL_CDROM_PREFIX};KORVEL_CDROM_DRIVE=R")
endif()
