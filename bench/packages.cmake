# Loading, sorting and synchronising a generated package tree; chk_all off and on.
add_executable(packages_bench packages_bench.cpp)
target_link_libraries(packages_bench PRIVATE korvel_loading korvel_fake_platform benchmark::benchmark)
korvel_warnings(packages_bench)
