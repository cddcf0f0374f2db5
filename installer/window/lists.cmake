# The portable model of the two selection lists and their check rules.
add_library(korvel_lists STATIC list_model.cpp selection_rules.cpp)
target_include_directories(korvel_lists PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(korvel_lists PUBLIC korvel_platform)
korvel_warnings(korvel_lists)

if(KORVEL_TESTS)
  korvel_add_gtest(NAME korvel_lists_tests
    SOURCES tests/list_model_test.cpp tests/selection_rules_test.cpp tests/row_list_test.cpp
    LIBS korvel_lists korvel_fake_platform)
endif()
