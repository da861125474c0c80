# Bruker data set reading: a large serial file, and detection of a folder of many experiments.
add_executable(bruker_bench ${CMAKE_CURRENT_LIST_DIR}/bruker_bench.cpp)
target_link_libraries(bruker_bench PRIVATE spc_convert benchmark::benchmark)
