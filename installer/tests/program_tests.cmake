# Tests of the program itself: the module order, and under Wine the program's DLL loading.
korvel_add_gtest(NAME korvel_program_modules_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/program_modules_test.cpp
  LIBS korvel_modules)

if(WIN32)
  add_library(planted_version SHARED ${CMAKE_CURRENT_LIST_DIR}/planted_version.cpp)
  set_target_properties(planted_version PROPERTIES PREFIX "" OUTPUT_NAME version
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/planted)
  korvel_warnings(planted_version)
  add_executable(naive_loader ${CMAKE_CURRENT_LIST_DIR}/naive_loader.cpp)
  korvel_warnings(naive_loader)

  add_test(NAME korvel_dll_planting
    COMMAND ${CMAKE_SOURCE_DIR}/installer/window/tests/with-xvfb.sh
            ${CMAKE_CURRENT_LIST_DIR}/dll_planting_test.sh ${KORVEL_WINE_RUN} $<TARGET_FILE:Korvel>
            $<TARGET_FILE:planted_version> $<TARGET_FILE:naive_loader> ${CMAKE_CURRENT_BINARY_DIR}/dll-planting)
  set_tests_properties(korvel_dll_planting PROPERTIES FIXTURES_REQUIRED gui_prefix RESOURCE_LOCK gui_prefix
    LABELS "wine;gui" ENVIRONMENT "WINEPREFIX=${KORVEL_GUI_PREFIX}")
endif()
