quelto_add_fuzzer(dxf_split_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/dxf_split_fuzz.cpp LIBS cad_db cad_dxf
                  SEEDS ${PROJECT_SOURCE_DIR}/tests/data/fuzz/dxf_split_fuzz)
