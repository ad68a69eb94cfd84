quelto_add_benchmark(ge_extents_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/ge_extents_bench.cpp LIBS cad_ge)
