# Tests of the program itself: the module order, and under Wine the program's DLL loading.
korvel_add_gtest(NAME korvel_program_modules_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/program_modules_test.cpp
  LIBS korvel_modules)
