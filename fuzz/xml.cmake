# libFuzzer target for the XML library: reader -> writer -> reader on arbitrary bytes.
add_executable(xml_fuzzer xml_fuzzer.cpp ${CMAKE_SOURCE_DIR}/xml/tests/no_default_platform.cpp)
target_compile_options(xml_fuzzer PRIVATE -fsanitize=fuzzer,address,undefined)
target_link_options(xml_fuzzer PRIVATE -fsanitize=fuzzer,address,undefined)
target_link_libraries(xml_fuzzer PRIVATE korvel_xml korvel_fake_platform)
korvel_warnings(xml_fuzzer)
# The library under test gets coverage feedback and the same sanitizers.
target_compile_options(korvel_xml PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
