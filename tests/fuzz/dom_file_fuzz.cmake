quelto_add_fuzzer(dom_file_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/dom_file_fuzz.cpp LIBS quelto_customentity
                  SEEDS ${PROJECT_SOURCE_DIR}/tests/data/fuzz/dom_file_fuzz)
