# FileMD5 against md5sum on the same file: md5_bench.sh builds nothing, it runs md5_bench.
add_executable(md5_bench ${CMAKE_CURRENT_LIST_DIR}/md5_bench.cpp)
korvel_warnings(md5_bench)
target_link_libraries(md5_bench PRIVATE korvel_sysinfo korvel_fake_platform benchmark::benchmark)
