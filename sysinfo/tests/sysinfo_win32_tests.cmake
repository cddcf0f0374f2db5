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
