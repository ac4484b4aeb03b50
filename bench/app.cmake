qt8800_bench(startup ${CMAKE_CURRENT_SOURCE_DIR}/app/startup.cpp)
target_link_libraries(bench_startup PRIVATE app)
