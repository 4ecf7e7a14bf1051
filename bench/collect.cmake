# bench_collect: the folder-tree search over 100 000 files next to find(1).
add_executable(bench_collect ${CMAKE_CURRENT_LIST_DIR}/collect_bench.cpp)
target_link_libraries(bench_collect PRIVATE tolvane_batch benchmark::benchmark)
