quelto_add_fuzzer(dxf_reader_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/dxf_reader_fuzz.cpp LIBS cad_dxf
                  SEEDS ${PROJECT_SOURCE_DIR}/tests/data/fuzz/dxf_reader_fuzz)
