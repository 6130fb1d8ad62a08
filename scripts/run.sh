#!/usr/bin/env bash
# Installs what is missing, builds, and starts Morvane.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
exec "${MORVANE_BUILD_DIR:-build}/gui/morvane" "$@"
