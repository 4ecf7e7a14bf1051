# bench_cad: the drawing engine's batch work on generated drawings of 1, 10 and 50 MB,
# next to a plain copy of the same bytes, the plot of the 10 MB drawing to PDF and the
# building of its plot scene alone; the opening of each DWG test drawing against its DXF
# twin (or of each DWG with its twin in $TOLVANE_DWG_BENCH_DIR).
add_executable(bench_cad ${CMAKE_CURRENT_LIST_DIR}/cad_bench.cpp)
target_link_libraries(bench_cad PRIVATE tolvane_drawing_testing tolvane_plot tolvane_batch tolvane_dwg
                      benchmark::benchmark)
target_compile_definitions(bench_cad PRIVATE DWG_TESTDATA="${PROJECT_SOURCE_DIR}/dwg/testdata")
