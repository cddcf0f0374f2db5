# Windows-side tests of the system utilities, under Wine on real files and real prefixes.

# The identification once per Windows version that Wine can report, each in a prefix of its own
# (the version is a setting of the prefix, and the shared prefix must keep its own).
korvel_add_gtest(NAME os_info_win32_test
  SOURCES os_info_win32_test.cpp os_info_win32_test.rc LIBS korvel_sysinfo)
foreach(row "winxp64=5.2.3790.0" "win7=6.1.7601.17514" "win10=10.0.10240.16405")
  string(REPLACE "=" ";" row "${row}")
  list(GET row 0 wine_version)
  list(GET row 1 reference)
  set(prefix ${CMAKE_BINARY_DIR}/wineprefix-${wine_version})
  add_test(NAME os_info_prefix_${wine_version}
    COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/version-prefix.sh ${KORVEL_WINE_RUN} ${wine_version})
  set_tests_properties(os_info_prefix_${wine_version} PROPERTIES
    FIXTURES_SETUP os_info_prefix_${wine_version} ENVIRONMENT "WINEPREFIX=${prefix}")
  add_test(NAME os_info_win32_test_${wine_version} COMMAND os_info_win32_test)
  set_tests_properties(os_info_win32_test_${wine_version} PROPERTIES
    FIXTURES_REQUIRED os_info_prefix_${wine_version} LABELS wine
    ENVIRONMENT "WINEPREFIX=${prefix};KORVEL_EXPECT_REFERENCE=${reference};LC_ALL=de_DE.UTF-8;LANG=de_DE.UTF-8;KORVEL_EXPECT_LANGUAGE=1031")
endforeach()

# Version fixtures: small DLLs with the version resources the tests read, made with windres.
set(KORVEL_VERSION_FIXTURES ${CMAKE_CURRENT_BINARY_DIR}/version_fixtures)
function(korvel_version_fixture name block translation)
  set(FIXTURE_BLOCK ${block})
  set(FIXTURE_TRANSLATION ${translation})
  set(FIXTURE_VALUES "")
  foreach(pair ${ARGN})
    string(REPLACE "=" ";" pair "${pair}")
    list(GET pair 0 key)
    list(GET pair 1 value)
    string(APPEND FIXTURE_VALUES "      VALUE \"${key}\", \"${value}\"\n")
  endforeach()
  configure_file(fixtures/version_fixture.rc.in ${CMAKE_CURRENT_BINARY_DIR}/fixture_${name}.rc @ONLY)
  add_library(fixture_${name} SHARED fixtures/fixture.c ${CMAKE_CURRENT_BINARY_DIR}/fixture_${name}.rc)
  set_target_properties(fixture_${name} PROPERTIES PREFIX "" OUTPUT_NAME ${name}
    RUNTIME_OUTPUT_DIRECTORY ${KORVEL_VERSION_FIXTURES})
  add_dependencies(sysinfo_win32_test fixture_${name})
endfunction()

korvel_add_gtest(NAME sysinfo_win32_test
  SOURCES file_version_win32_test.cpp md5_win32_test.cpp environment_win32_test.cpp
  LIBS korvel_sysinfo)
korvel_version_fixture(product_above 040904b0 "0x409, 1200" "ProductVersion=10.0.0.1" "FileVersion=9.0.0.1")
korvel_version_fixture(product_greater 040904b0 "0x409, 1200" "ProductVersion=7.0" "FileVersion=6.0")
korvel_version_fixture(product_below 040904b0 "0x409, 1200" "ProductVersion=5.0" "FileVersion=6.0.1")
korvel_version_fixture(tagged 040904b0 "0x409, 1200"
  "ProductVersion=6.1.7601.17514" "FileVersion=6.1.7601.17514 (win7sp1_rtm.101119-1850)")
korvel_version_fixture(german 040704e4 "0x407, 1252" "ProductVersion=2.0" "FileVersion=1.0")
korvel_version_fixture(file_only 040904b0 "0x409, 1200" "FileVersion=3.0")
korvel_version_fixture(corpol 040904b0 "0x409, 1200" "ProductVersion=0.9" "FileVersion=02003.00001.02600.02180")
korvel_version_fixture(not_corpol 040904b0 "0x409, 1200" "ProductVersion=0.9" "FileVersion=02003.00001.02600.02180")
add_library(fixture_plain SHARED fixtures/fixture.c)
set_target_properties(fixture_plain PROPERTIES PREFIX "" OUTPUT_NAME plain
  RUNTIME_OUTPUT_DIRECTORY ${KORVEL_VERSION_FIXTURES})
add_dependencies(sysinfo_win32_test fixture_plain)
