# paint time of the round meter and CPU cost of the blink service
qt8800_bench(widgets ${CMAKE_CURRENT_SOURCE_DIR}/widgets/widgets.cpp)
target_link_libraries(bench_widgets PRIVATE widgets)
