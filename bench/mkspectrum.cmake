# The large synthetic spectra that bench/open_speed times the loader and the main program on.
add_executable(mkspectrum ${CMAKE_CURRENT_LIST_DIR}/mkspectrum.cpp)
target_link_libraries(mkspectrum PRIVATE spc_convert)
