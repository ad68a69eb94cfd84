# Extents of a million mixed entities read from the drawing database through getGeomExtents.
quelto_add_benchmark(entity_extents_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/entity_extents_bench.cpp LIBS cad_db)
