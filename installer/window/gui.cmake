# The main window: system message boxes (portable) and the Win32 window that mirrors the model.
add_library(korvel_message_box STATIC message_box.cpp)
target_include_directories(korvel_message_box PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(korvel_message_box PUBLIC korvel_platform)
korvel_warnings(korvel_message_box)

if(KORVEL_TESTS)
  korvel_add_gtest(NAME korvel_message_box_tests
    SOURCES tests/message_box_test.cpp
    LIBS korvel_message_box korvel_fake_platform)
endif()

if(WIN32)
  # The Win32 main window: the form, its list-view mirrors and its log pane.
  add_library(korvel_gui_win32 STATIC main_window_win32.cpp list_view_win32.cpp gui_module_win32.cpp)
  target_link_libraries(korvel_gui_win32 PUBLIC korvel_lists korvel_run_win32 korvel_message_box korvel_platform
    comctl32 gdi32 user32)
  korvel_warnings(korvel_gui_win32)
endif()

if(WIN32 AND KORVEL_TESTS)
  # The real windows under Wine need a display: a private Xvfb server, and a prefix of their own
  # so that no desktop started without a display by a parallel test is shared with them.
  set(KORVEL_GUI_PREFIX ${CMAKE_BINARY_DIR}/wineprefix-gui)
  add_test(NAME gui_prefix COMMAND ${KORVEL_WINE_RUN} --init)
  set_tests_properties(gui_prefix PROPERTIES FIXTURES_SETUP gui_prefix ENVIRONMENT "WINEPREFIX=${KORVEL_GUI_PREFIX}")

  # korvel_gui_test(NAME name SOURCES ... LIBS ...): a GoogleTest program with the program's
  # manifest (common controls 6), run on its own display in the GUI prefix.
  function(korvel_gui_test)
    cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES} ${CMAKE_SOURCE_DIR}/cmake/gtest_wmain.cpp)
    korvel_warnings(${T_NAME})
    target_include_directories(${T_NAME} PRIVATE ${CMAKE_SOURCE_DIR}/installer/window/tests)
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} korvel_resources GTest::gtest GTest::gmock)
    add_test(NAME ${T_NAME}
      COMMAND ${CMAKE_SOURCE_DIR}/installer/window/tests/with-xvfb.sh ${KORVEL_WINE_RUN} $<TARGET_FILE:${T_NAME}>)
    set_tests_properties(${T_NAME} PROPERTIES FIXTURES_REQUIRED gui_prefix RESOURCE_LOCK gui_prefix
      LABELS "wine;gui" ENVIRONMENT "WINEPREFIX=${KORVEL_GUI_PREFIX}")
  endfunction()

  korvel_gui_test(NAME gui_main_window_test
    SOURCES tests/main_window_test.cpp
    LIBS korvel_startup_win32 korvel_gui_win32)
endif()
