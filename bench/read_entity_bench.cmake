quelto_add_benchmark(read_entity_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/read_entity_bench.cpp LIBS quelto_catalogue)
