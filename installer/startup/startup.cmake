# The load screen's start-up sequence: portable StartUp and, on Windows, the load screen window.
add_library(korvel_startup STATIC start_up.cpp)
target_include_directories(korvel_startup PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(korvel_startup PUBLIC korvel_lists korvel_message_box korvel_platform)
korvel_warnings(korvel_startup)

if(KORVEL_TESTS)
  korvel_add_gtest(NAME korvel_startup_tests
    SOURCES tests/start_up_test.cpp ${CMAKE_CURRENT_SOURCE_DIR}/../window/tests/no_default_platform.cpp
    LIBS korvel_startup korvel_fake_platform)
endif()
