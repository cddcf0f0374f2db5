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
  korvel_gui_test(NAME gui_main_window_test
    SOURCES tests/main_window_test.cpp
    LIBS korvel_startup_win32 korvel_gui_win32)
endif()
