add_executable(rodizora_bench ${CMAKE_CURRENT_LIST_DIR}/rodizora_bench.cpp)
target_link_libraries(rodizora_bench PRIVATE rodizora_app spc_convert profile_store benchmark::benchmark)
