# The formula analyser: one logic expression as the matching engine runs it per entity, and large inputs.
quelto_add_benchmark(analyse_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/analyse_bench.cpp LIBS quelto_baselib)
