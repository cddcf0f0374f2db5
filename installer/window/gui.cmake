# The main window: system message boxes (portable) and the Win32 window that mirrors the model.
add_library(korvel_message_box STATIC message_box.cpp)
target_include_directories(korvel_message_box PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(korvel_message_box PUBLIC korvel_platform)
korvel_warnings(korvel_message_box)

if(KORVEL_TESTS)
  korvel_add_gtest(NAME korvel_message_box_tests
    SOURCES tests/message_box_test.cpp tests/no_default_platform.cpp
    LIBS korvel_message_box korvel_fake_platform)
endif()
