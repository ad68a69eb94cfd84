# The second stage on a small drawing with quick-selection records decoded from arbitrary bytes. The
# module folders it needs are compiled in directly over the static host layers: their libraries link the
# shared host library, which cannot be linked with the fuzzing sanitizers' runtime left to the executable.
file(GLOB matching_fuzz_module_sources ${PROJECT_SOURCE_DIR}/quelto/matching/*.cpp
     ${PROJECT_SOURCE_DIR}/quelto/catalogue/*.cpp ${PROJECT_SOURCE_DIR}/quelto/actions/*.cpp
     ${PROJECT_SOURCE_DIR}/quelto/customentity/*.cpp)
quelto_add_fuzzer(matching_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/matching_fuzz.cpp ${matching_fuzz_module_sources}
                  LIBS quelto_filter quelto_baselib cad_app
                  SEEDS ${PROJECT_SOURCE_DIR}/tests/data/fuzz/matching_fuzz)
