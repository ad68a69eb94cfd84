# Mirroring 100,000 mixed entities through the batch edit with the host's undo recording, and taking the
# step back.
quelto_add_benchmark(undo_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/undo_bench.cpp LIBS quelto_actions)
