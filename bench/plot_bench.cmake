# Redrawing the trace of a million-point spectrum, and painting a whole plot.
add_executable(plot_bench ${CMAKE_CURRENT_LIST_DIR}/plot_bench.cpp)
target_link_libraries(plot_bench PRIVATE nelvar_plot karvel_font karvel_common dorlin_core benchmark::benchmark)
