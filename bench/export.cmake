qt8800_bench(export ${CMAKE_CURRENT_SOURCE_DIR}/export/export.cpp)
target_link_libraries(bench_export PRIVATE measure simcore app)
