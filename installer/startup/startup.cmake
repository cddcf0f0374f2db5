# The load screen's start-up sequence: portable StartUp and, on Windows, the load screen window.
add_library(korvel_startup STATIC start_up.cpp)
target_include_directories(korvel_startup PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(korvel_startup PUBLIC korvel_lists korvel_options korvel_message_box korvel_platform)
korvel_warnings(korvel_startup)

if(KORVEL_TESTS)
  korvel_add_gtest(NAME korvel_startup_tests
    SOURCES tests/start_up_test.cpp
    LIBS korvel_startup korvel_fake_platform)
endif()

if(WIN32)
  # The load screen: the hidden window that runs StartUp on the main window.
  add_library(korvel_startup_win32 STATIC load_screen_win32.cpp)
  target_link_libraries(korvel_startup_win32 PUBLIC korvel_startup korvel_gui_win32 korvel_xml comctl32 gdi32 user32)
  korvel_warnings(korvel_startup_win32)
endif()

if(WIN32 AND KORVEL_TESTS)
  korvel_gui_test(NAME gui_start_up_test
    SOURCES tests/start_up_win32_test.cpp
    LIBS korvel_startup_win32 korvel_options korvel_xml)
endif()
