quelto_add_fuzzer(config_file_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/config_file_fuzz.cpp LIBS quelto_filter
                  SEEDS ${PROJECT_SOURCE_DIR}/tests/data/fuzz/config_file_fuzz)
