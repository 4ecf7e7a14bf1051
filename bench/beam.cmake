# bench_beam: the continuous-beam model and one column calculation with its report.
add_executable(bench_beam ${CMAKE_CURRENT_LIST_DIR}/beam_bench.cpp)
target_link_libraries(bench_beam PRIVATE tolvane_beams benchmark::benchmark)
