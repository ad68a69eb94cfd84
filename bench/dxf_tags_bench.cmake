quelto_add_benchmark(dxf_tags_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/dxf_tags_bench.cpp LIBS cad_dxf)
