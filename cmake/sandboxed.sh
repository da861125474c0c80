#!/bin/sh
# Runs a test in a sandbox of this run's own below the test's sandbox folder ($1): its registry,
# INI folder, scratch folder, home, config and GoogleTest's temporary folder (TEST_TMPDIR, which
# ::testing::TempDir() gives instead of the machine's shared /tmp). Two runs of one test at once
# (two ctest invocations in one build tree, or in two build trees on one machine) then never
# share or delete each other's files. A run that passes takes its sandbox away; a failed run's
# stays for a look.
base=$1
shift
mkdir -p "$base" || exit 1
dir=$(mktemp -d "$base/run-XXXXXX") || exit 1
KEDRUS_REGISTRY_DIR=$dir/registry
KEDRUS_INI_DIR=$dir/ini
KEDRUS_TEST_SCRATCH=$dir/scratch
HOME=$dir/home
XDG_CONFIG_HOME=$dir/config
TEST_TMPDIR=$dir/tmp
mkdir -p "$TEST_TMPDIR" || exit 1
export KEDRUS_REGISTRY_DIR KEDRUS_INI_DIR KEDRUS_TEST_SCRATCH HOME XDG_CONFIG_HOME TEST_TMPDIR
"$@"
rc=$?
[ "$rc" -eq 0 ] && rm -rf "$dir"
exit "$rc"
