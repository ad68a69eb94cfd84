# The formula analyser on arbitrary text with a few variables of every kind.
quelto_add_fuzzer(analyse_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/analyse_fuzz.cpp LIBS quelto_baselib
                  SEEDS ${PROJECT_SOURCE_DIR}/tests/data/fuzz/analyse_fuzz)
