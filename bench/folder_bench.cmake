# Spectrum folder save and load, and INI section writes.
add_executable(folder_bench ${CMAKE_CURRENT_LIST_DIR}/folder_bench.cpp)
target_link_libraries(folder_bench PRIVATE spc_convert benchmark::benchmark)
