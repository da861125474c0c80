# Redrawing the label layers of a plot over a million-point spectrum.
add_executable(labels_bench ${CMAKE_CURRENT_LIST_DIR}/labels_bench.cpp)
target_link_libraries(labels_bench PRIVATE nelvar_labels nelvar_plot karvel_font karvel_common dorlin_core
                                           benchmark::benchmark)
