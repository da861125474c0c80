# Tests of the Fourier transform kernel.
kedrus_add_test(spc_fft_tests LABEL processing
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/tests/fft/fft_test.cpp
  LIBS spc_data)
