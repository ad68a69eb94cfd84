quelto_add_fuzzer(registry_store_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/registry_store_fuzz.cpp LIBS quelto_platform
                  SEEDS ${PROJECT_SOURCE_DIR}/tests/data/fuzz/registry_store_fuzz)
