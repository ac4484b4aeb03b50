qt8800_bench(deviceview ${CMAKE_CURRENT_SOURCE_DIR}/deviceview/deviceview.cpp)
target_link_libraries(bench_deviceview PRIVATE app)
