# Baseline fitting, integration, peak picking and mass-scan queries of the processing engine.
add_executable(analysis_bench ${CMAKE_CURRENT_LIST_DIR}/analysis_bench.cpp)
target_link_libraries(analysis_bench PRIVATE spc_data benchmark::benchmark)
