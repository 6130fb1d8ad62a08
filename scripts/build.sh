#!/usr/bin/env bash
# Configures and builds into build/ (or $MORVANE_BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${MORVANE_BUILD_DIR:-build}"
werror=OFF
if [ "${CI:-}" = "true" ]; then werror=ON; fi
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVANE_WERROR="$werror" \
  "$@" >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)"
