#!/usr/bin/env bash
# Compiles the locales the locale tests run under into FOLDER (used through LOCPATH), so the
# tests need neither root nor locales installed system-wide; only the locale sources of the
# "locales" package.
set -euo pipefail
folder="$1"
mkdir -p "$folder"
for name in de_DE fr_FR ps_AF; do
  if [ ! -e "$folder/$name.UTF-8/LC_NUMERIC" ]; then
    localedef -i "$name" -f UTF-8 "$folder/$name.UTF-8"
  fi
done
