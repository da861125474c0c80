# How the deliverables are linked.
#
# Every deliverable is built from static libraries (its cores), which the tests link directly,
# and a module folder of its own with what only the module has: its version record and, as they
# come, its resources and entry points. A shared library takes its cores in whole, so nothing of
# them depends on which symbol happens to be referenced, and exports only what its export map
# names; everything else (template code of the static libraries it links included) stays local,
# so each module keeps its own copy of per-module state.
#
#   deliverable   cores taken whole                   export map                    exports
#   libdorlin.so  dorlin_core                         profile/exports.map           the 22 Orv* profile functions
#   libnelvar.so  spc_convert, spc_data, and the      spectrum/control/nelvar.map   its COM entry points (with the
#                 spectrum control when it lands                                    spectrum control; none yet)
#   libkarvel.so  the auxiliary controls (controls/)  controls/karvel.map           its COM entry points
#   libabout.so   the about box (about/)              about/about.map               the about box's entry points
#   rodizora      the main program (rodizora/)        none                          nothing (an executable exports
#                                                                                   nothing unless given a list)
#
# Every module but libdorlin.so also links, normally: foundation_prof and foundation_start (each
# module its own copy, with its own default profile root and section), the platform libraries it
# uses (shared, one copy per process: see kedrus_platform_library), and profile_store, which in a module is libdorlin.so itself: the profile store keeps one
# process-wide state, so no module carries a copy of it.
#
# profile_store stands for "the profile store" wherever its exports (Orv*) are called: code that
# calls them links it PUBLIC. It resolves to libdorlin.so, except in a target whose property
# KEDRUS_PROFILE_CORE is set (every test made by kedrus_add_test): there it is the static
# dorlin_core, so a test shares one copy of the store's state with the code it tests and can
# reach the store's classes. Inside libdorlin.so it is nothing: the library is the store.

# kedrus_add_module(<target> EXPORT_MAP <file> [SOURCES <files...>] [CORES <static libs...>]
#                   [LIBS <targets...>])
# A deliverable shared library: the sources of its module folder, its cores in whole, the other
# libraries linked normally, no undefined symbol left, and only the export map's symbols exported.
function(kedrus_add_module name)
  cmake_parse_arguments(M "" "EXPORT_MAP" "SOURCES;CORES;LIBS" ${ARGN})
  add_library(${name} SHARED ${M_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  # A core may also come in through another core's usage requirements: the override makes it
  # whole wherever it appears.
  foreach(core ${M_CORES})
    target_link_libraries(${name} PRIVATE ${core})
    set_property(TARGET ${name} PROPERTY LINK_LIBRARY_OVERRIDE_${core} WHOLE_ARCHIVE)
  endforeach()
  target_link_libraries(${name} PRIVATE ${M_LIBS})
  target_link_options(${name} PRIVATE -Wl,--no-undefined -Wl,--version-script=${M_EXPORT_MAP})
  set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS ${M_EXPORT_MAP})
endfunction()

# kedrus_add_program(<target> [EXPORT_MAP <file>] [SOURCES <files...>] [CORES <static libs...>]
#                    [LIBS <targets...>])
# A deliverable executable: its cores in whole like a module's; an export map, when given, is its
# dynamic list (the symbols the libraries it loads may look up in it).
function(kedrus_add_program name)
  cmake_parse_arguments(M "" "EXPORT_MAP" "SOURCES;CORES;LIBS" ${ARGN})
  add_executable(${name} ${M_SOURCES})
  foreach(core ${M_CORES})
    target_link_libraries(${name} PRIVATE ${core})
    set_property(TARGET ${name} PROPERTY LINK_LIBRARY_OVERRIDE_${core} WHOLE_ARCHIVE)
  endforeach()
  target_link_libraries(${name} PRIVATE ${M_LIBS})
  if(M_EXPORT_MAP)
    target_link_options(${name} PRIVATE -Wl,--dynamic-list=${M_EXPORT_MAP})
    set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS ${M_EXPORT_MAP})
  endif()
endfunction()

# kedrus_platform_library(<target> <sources...>)
# One area of platform/ as a shared library (libplat_<area>.so in bin/, beside the modules, found
# through $ORIGIN). The platform keeps process-wide state (the window table and message queue, the
# class table and the loaded modules, the registry's volatile keys, the automation allocator), so
# the program and every module it loads must share one copy of it. It exports what it declares
# (default visibility; inline functions stay hidden, so each module keeps its own copy of them) and,
# where the link can tell, leaves no symbol undefined. What must stay one per module (the object
# and lock counts behind DllCanUnloadNow, the module's own path) lives in the small static part of
# platform/com that each module links whole.
function(kedrus_platform_library name)
  add_library(${name} SHARED ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  set_target_properties(${name} PROPERTIES CXX_VISIBILITY_PRESET default)
  # Sanitizer runtimes given only to executables (ThreadSanitizer's and clang's builds) leave
  # their hooks undefined in a shared library until the program loads it.
  if(NOT KEDRUS_FUZZ AND NOT CMAKE_CXX_FLAGS MATCHES "-fsanitize")
    target_link_options(${name} PRIVATE -Wl,--no-undefined)
  endif()
endfunction()

# kedrus_module_settings(<target> <ini file>)
# The settings file a deliverable ships beside it (its file name with ".ini": libnelvar.ini beside
# libnelvar.so), put into bin/ where none is there yet. Its sections below the module's section
# name are the defaults a user's first start copies (CGenStart, foundation/genstart.h); the
# file there is also where the module keeps what its user saves (schemes, macros), so a build
# never replaces it, also when the shipped file changed.
function(kedrus_module_settings name file)
  get_filename_component(base ${file} NAME)
  set(out ${CMAKE_LIBRARY_OUTPUT_DIRECTORY}/${base})
  set(script ${PROJECT_SOURCE_DIR}/cmake/InstallIfMissing.cmake)
  # Runs when the shipped file changed or the one in bin/ is gone; an untouched output counts as
  # up to date (Ninja's restat), so a kept file does not run it again at every build.
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DSOURCE=${file} -DDESTINATION=${out} -P ${script}
    DEPENDS ${file} ${script}
    COMMENT "Default settings ${base} beside ${name}, unless one is there")
  add_custom_target(${name}_settings ALL DEPENDS ${out})
  add_dependencies(${name} ${name}_settings)
endfunction()
