# Package discovery: the file search below the program's directory.
add_library(korvel_discovery STATIC file_search.cpp)
target_include_directories(korvel_discovery PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(korvel_discovery PUBLIC korvel_platform)
korvel_warnings(korvel_discovery)

if(KORVEL_TESTS)
  korvel_add_gtest(NAME file_search_test SOURCES tests/file_search_test.cpp LIBS korvel_discovery korvel_fake_platform)
  if(WIN32)
    include(tests/file_search_win32.cmake)
  endif()
endif()
