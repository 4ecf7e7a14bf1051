# bench_bom: the parts-list report (smart fill + weight calculation per line).
add_executable(bench_bom ${CMAKE_CURRENT_LIST_DIR}/bom_bench.cpp)
target_link_libraries(bench_bom PRIVATE tolvane_materiallist benchmark::benchmark)
