#!/usr/bin/env bash
# The long fault-injection run: workspace saves of the main program and spectrum-folder saves
# killed with SIGKILL at random moments (KILLS of them, default 120, half of each kind), with the
# folder exchange and then without it, each followed by a normal start that must find every
# workspace and spectrum whole and no temporary file left over. Prints the figures of each run;
# exits non-zero when anything was lost or left behind.
#
#   tools/savekill.sh [KILLS] [SEED]        (BUILD_DIR defaults to build)
set -euo pipefail
cd "$(dirname "$0")/.."
bin="${BUILD_DIR:-build}/bin"
kills="${1:-120}"
seed="${2:-$RANDOM}"
[ -x "$bin/savekill" ] || { echo "build first: cmake --build ${BUILD_DIR:-build} --target savekill nelvar" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A sandbox registry of its own, never the user's settings.
export KEDRUS_REGISTRY_DIR="$work/registry" HOME="$work/home" XDG_CONFIG_HOME="$work/config"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
status=0
for mode in "" --no-exchange; do
  "$bin/savekill" --kills "$kills" --seed "$seed" $mode --sample samples/ethyl_acetate_fid.dx "$work/kills" 2>/dev/null || status=1
done
exit "$status"
