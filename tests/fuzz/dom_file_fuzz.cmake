# The reader's two files are compiled in directly: the folder library links the shared host library,
# which cannot be linked with the fuzzing sanitizers' runtime left to the executable.
quelto_add_fuzzer(dom_file_fuzz
                  SOURCES ${CMAKE_CURRENT_LIST_DIR}/dom_file_fuzz.cpp
                          ${PROJECT_SOURCE_DIR}/quelto/customentity/freedom_entity.cpp
                          ${PROJECT_SOURCE_DIR}/quelto/customentity/freedom_entity_file.cpp
                  LIBS quelto_filter cad_ed
                  SEEDS ${PROJECT_SOURCE_DIR}/tests/data/fuzz/dom_file_fuzz)
