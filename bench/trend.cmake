qt8800_bench(trend ${CMAKE_CURRENT_SOURCE_DIR}/trend/trend.cpp)
target_link_libraries(bench_trend PRIVATE app)
