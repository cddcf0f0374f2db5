# Settings, command line, user texts, condition checks, package loader and translations.

# The options and texts that every part of the installer reads.
add_library(korvel_options STATIC run_options.cpp message_table.cpp)
target_include_directories(korvel_options PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(korvel_options PUBLIC korvel_platform korvel_sysinfo)
korvel_warnings(korvel_options)

if(KORVEL_TESTS)
  korvel_add_gtest(NAME korvel_options_tests SOURCES tests/options_test.cpp LIBS korvel_options)
endif()

# The loaders: settings file, condition checks, package descriptions, translations.
add_library(korvel_loading STATIC
  system_facts.cpp settings.cpp condition_check.cpp package_loader.cpp translations.cpp)
target_link_libraries(korvel_loading PUBLIC korvel_options korvel_lists korvel_xml korvel_sysinfo korvel_discovery)
korvel_warnings(korvel_loading)

if(KORVEL_TESTS)
  korvel_add_gtest(NAME korvel_loading_tests
    SOURCES tests/loader_fixture.cpp tests/package_loader_test.cpp tests/condition_check_test.cpp
            tests/translations_test.cpp tests/settings_test.cpp
    LIBS korvel_loading korvel_fake_platform)
endif()
