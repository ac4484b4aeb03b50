qt8800_bench(link_roundtrip ${CMAKE_CURRENT_SOURCE_DIR}/link/link_roundtrip.cpp)
target_link_libraries(bench_link_roundtrip PRIVATE link Qt6::Test)
