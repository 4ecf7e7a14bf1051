# bench_batch_workers: the batch run in this process against one and two worker
# processes over 30 drawings of 0.6 MB and 500 of 0.1 MB, and a run with faulty drawings.
add_executable(bench_batch_workers ${CMAKE_CURRENT_LIST_DIR}/batch_workers_bench.cpp)
target_link_libraries(bench_batch_workers PRIVATE tolvane_drawing_testing tolvane_batch)
target_compile_definitions(bench_batch_workers PRIVATE TOLVANE_CLI="$<TARGET_FILE:tolvane-cli>")
add_dependencies(bench_batch_workers tolvane-cli)
