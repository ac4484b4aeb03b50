qt8800_bench(language ${CMAKE_CURRENT_SOURCE_DIR}/language/language_switch.cpp)
target_link_libraries(bench_language PRIVATE app)
add_dependencies(bench_language english_module)
