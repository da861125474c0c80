# The engine's transforms as the user runs them: a whole forward transform of a fid, with the
# copy, zero filling, swap of halves and record update around the kernel.
add_executable(transform_bench ${CMAKE_CURRENT_LIST_DIR}/transform_bench.cpp)
target_link_libraries(transform_bench PRIVATE spc_data benchmark::benchmark)
