quelto_add_benchmark(dxf_load_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/dxf_load_bench.cpp LIBS cad_db cad_dxf)
