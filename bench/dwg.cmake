# bench_dwg: the DWG container read (maps, decoding, decompression, object map) of each
# test drawing in dwg/testdata, or of every .dwg in $TOLVANE_DWG_BENCH_DIR.
add_executable(bench_dwg ${CMAKE_CURRENT_LIST_DIR}/dwg_bench.cpp)
target_link_libraries(bench_dwg PRIVATE tolvane_dwg benchmark::benchmark)
target_compile_definitions(bench_dwg PRIVATE DWG_TESTDATA="${PROJECT_SOURCE_DIR}/dwg/testdata")
