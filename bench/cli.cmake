qt8800_bench(cli ${CMAKE_CURRENT_SOURCE_DIR}/cli/cli_download.cpp)
target_link_libraries(bench_cli PRIVATE link Qt6::Test)
add_dependencies(bench_cli qt8800-cli qt8800-sim)
