# bench_batch_run: whole batch runs over 50 and 500 generated drawings.
add_executable(bench_batch_run ${CMAKE_CURRENT_LIST_DIR}/batch_run_bench.cpp)
target_link_libraries(bench_batch_run PRIVATE tolvane_drawing_testing tolvane_batch
                      benchmark::benchmark)
