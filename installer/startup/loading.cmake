# Settings, command line, user texts, condition checks, package loader and translations.

# The options and texts that every part of the installer reads; nothing but the platform below.
add_library(korvel_options STATIC run_options.cpp message_table.cpp)
target_include_directories(korvel_options PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(korvel_options PUBLIC korvel_platform)
korvel_warnings(korvel_options)

if(KORVEL_TESTS)
  korvel_add_gtest(NAME korvel_options_tests SOURCES tests/options_test.cpp LIBS korvel_options)
endif()
