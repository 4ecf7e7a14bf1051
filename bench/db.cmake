# bench_db: the grade conversion look-ups on a generated 100 000-row s_world, with and
# without its trigram search table.
add_executable(bench_db ${CMAKE_CURRENT_LIST_DIR}/db_bench.cpp)
target_link_libraries(bench_db PRIVATE tolvane_db benchmark::benchmark)
