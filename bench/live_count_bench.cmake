# The main dialog's live count on 1,000,000 entities: from the last change to the count shown, and the
# length of its slices.
quelto_add_benchmark(live_count_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/live_count_bench.cpp LIBS quelto_ui)
target_include_directories(live_count_bench PRIVATE ${PROJECT_SOURCE_DIR})
