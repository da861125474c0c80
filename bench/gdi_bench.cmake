add_executable(gdi_bench ${CMAKE_CURRENT_LIST_DIR}/gdi_bench.cpp)
target_link_libraries(gdi_bench PRIVATE plat_gdi benchmark::benchmark)
