# The whole second stage (host filter, whole-drawing selection, extended filter) on 1,000,000 entities,
# with ezdxf doing the same selection for comparison.
quelto_add_benchmark(matching_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/matching_bench.cpp LIBS quelto_matching)
target_compile_definitions(matching_bench PRIVATE QUELTO_BENCH_SOURCE_DIR="${CMAKE_CURRENT_LIST_DIR}")
