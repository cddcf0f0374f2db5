# The file search on a real tree under Wine, made by a script so that it can hold a symbolic
# link back into itself.
set(KORVEL_SEARCH_TREE ${CMAKE_CURRENT_BINARY_DIR}/search_tree)
korvel_add_gtest(NAME file_search_win32_test SOURCES tests/file_search_win32_test.cpp LIBS korvel_discovery)
add_test(NAME file_search_tree COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/tests/make-search-tree.sh ${KORVEL_SEARCH_TREE})
set_tests_properties(file_search_tree PROPERTIES FIXTURES_SETUP file_search_tree)
set_tests_properties(file_search_win32_test PROPERTIES FIXTURES_REQUIRED "wineprefix;file_search_tree"
  ENVIRONMENT "WINEPREFIX=${KORVEL_WINEPREFIX};KORVEL_SEARCH_TREE=${KORVEL_SEARCH_TREE}")
