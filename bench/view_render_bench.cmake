if(TARGET cad_gui)
    quelto_add_benchmark(view_render_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/view_render_bench.cpp LIBS cad_gui)
endif()
