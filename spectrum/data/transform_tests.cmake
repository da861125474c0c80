# Tests of the transforms and resizing of the processing engine.
file(GLOB SPC_TRANSFORM_TESTS CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/transform/*.cpp)
kedrus_add_test(spc_transform_tests LABEL processing
  SOURCES ${SPC_TRANSFORM_TESTS}
  LIBS spc_data)
