# Build rules shared by every folder: warnings, static Windows programs, test registration.

if(WIN32)
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
  # One self-contained .exe: no libstdc++/libgcc/winpthread DLLs beside it.
  add_link_options(-static -static-libgcc -static-libstdc++ -municode)
endif()

# GCC 12 reports -Wrestrict false positives inside libstdc++ string code at -O3. Clang (the fuzz
# build) does not know the option and would fail on it under -Werror.
set(KORVEL_WARNINGS -Wall -Wextra -Werror -Wno-missing-field-initializers)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  list(APPEND KORVEL_WARNINGS -Wno-restrict)
endif()

if(KORVEL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# Applies the project's warnings to a target of our own (not to GoogleTest).
function(korvel_warnings target)
  target_compile_options(${target} PRIVATE ${KORVEL_WARNINGS})
endfunction()

macro(korvel_add_googletest)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endmacro()

# Wine prefix shared by the Windows-side tests of one build tree. The first test that
# needs it creates it (fixture "wineprefix"), so parallel tests never race to build it.
set(KORVEL_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "Wine prefix for the Windows-side tests")
set(KORVEL_WINE_RUN ${CMAKE_SOURCE_DIR}/cmake/wine-run.sh)

# korvel_add_gtest(NAME name SOURCES ... LIBS ... [LABELS ...])
# Native builds: one CTest entry per test case. Windows builds: one entry per program,
# run under Wine through the cross-compiling emulator.
function(korvel_add_gtest)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  korvel_warnings(${T_NAME})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock)
  if(WIN32)
    # gtest_main's main() is narrow; -municode wants wmain, so link our own entry.
    target_sources(${T_NAME} PRIVATE ${CMAKE_SOURCE_DIR}/cmake/gtest_wmain.cpp)
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    set_tests_properties(${T_NAME} PROPERTIES FIXTURES_REQUIRED wineprefix LABELS "wine;${T_LABELS}"
      ENVIRONMENT "WINEPREFIX=${KORVEL_WINEPREFIX}")
  else()
    target_link_libraries(${T_NAME} PRIVATE GTest::gtest_main)
    include(GoogleTest)
    gtest_discover_tests(${T_NAME} PROPERTIES LABELS "native;${T_LABELS}" DISCOVERY_TIMEOUT 60)
  endif()
endfunction()

if(WIN32 AND KORVEL_TESTS)
  add_test(NAME wineprefix COMMAND ${KORVEL_WINE_RUN} --init)
  set_tests_properties(wineprefix PROPERTIES FIXTURES_SETUP wineprefix
    ENVIRONMENT "WINEPREFIX=${KORVEL_WINEPREFIX}")
endif()
