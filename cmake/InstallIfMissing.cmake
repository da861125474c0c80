# cmake -DSOURCE=<file> -DDESTINATION=<file> -P InstallIfMissing.cmake
# Copies SOURCE to DESTINATION only when no file is there: one that is there may hold what a
# user saved into it, which a build never replaces.
if(NOT EXISTS "${DESTINATION}")
  file(COPY_FILE "${SOURCE}" "${DESTINATION}")
endif()
