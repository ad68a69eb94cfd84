# acedSSGet "X" with a type + layer + colour filter over a drawing of 1,000,000 entities.
quelto_add_benchmark(ssget_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/ssget_bench.cpp LIBS quelto_cad)
