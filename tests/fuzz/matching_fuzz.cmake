# The second stage on a small drawing with quick-selection records decoded from arbitrary bytes.
quelto_add_fuzzer(matching_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/matching_fuzz.cpp LIBS quelto_matching
                  SEEDS ${PROJECT_SOURCE_DIR}/tests/data/fuzz/matching_fuzz)
