# cmake -DREPO=<source tree> -DWORK=<scratch folder> -DGENERATOR=<generator> -P module_settings_test.cmake
# Builds a small project whose module ships a settings file (kedrus_module_settings) and checks
# what a user meets in bin/: the shipped file on the first build, the user's own file kept when
# the shipped one changes, and the shipped file back once the user's is gone.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/src")
file(WRITE "${WORK}/src/CMakeLists.txt" "cmake_minimum_required(VERSION 3.20)
project(module_settings NONE)
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY \${CMAKE_BINARY_DIR}/bin)
set(PROJECT_SOURCE_DIR \"${REPO}\")
include(\"${REPO}/cmake/KedrusModule.cmake\")
add_custom_target(module ALL)
kedrus_module_settings(module \${CMAKE_CURRENT_SOURCE_DIR}/libmodule.ini)
")
set(shipped "${WORK}/src/libmodule.ini")
set(installed "${WORK}/build/bin/libmodule.ini")
file(WRITE "${shipped}" "[module]\nA=1\n")

function(build)
  execute_process(COMMAND "${CMAKE_COMMAND}" --build "${WORK}/build" RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "build failed: ${out}")
  endif()
  set(build_output "${out}" PARENT_SCOPE)
endfunction()

function(expect_installed text why)
  file(READ "${installed}" got)
  if(NOT got STREQUAL text)
    message(FATAL_ERROR "${why}: bin/libmodule.ini holds \"${got}\", not \"${text}\"")
  endif()
endfunction()

execute_process(COMMAND "${CMAKE_COMMAND}" -S "${WORK}/src" -B "${WORK}/build" -G "${GENERATOR}" RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "configure failed")
endif()
build()
expect_installed("[module]\nA=1\n" "first build")

# The user saves a scheme into the file beside the module; then the shipped file changes.
file(WRITE "${installed}" "[module]\nA=1\n[SCHEMES\\0\\Mine]\nBackColor=0xFF\n")
execute_process(COMMAND "${CMAKE_COMMAND}" -E sleep 1)
file(WRITE "${shipped}" "[module]\nA=2\n")
build()
expect_installed("[module]\nA=1\n[SCHEMES\\0\\Mine]\nBackColor=0xFF\n" "rebuild after the shipped file changed")
build()
if(NOT build_output MATCHES "no work to do" AND GENERATOR STREQUAL "Ninja")
  message(FATAL_ERROR "a kept file makes every build run the rule again: ${build_output}")
endif()

# A user who removes the file gets the shipped one at the next build.
file(REMOVE "${installed}")
build()
expect_installed("[module]\nA=2\n" "build after the file was removed")
message("module-settings-checked")
