#!/usr/bin/env bash
# Installs, with apt-get, only the Debian packages that are missing for building and testing.
set -euo pipefail

packages=(cmake g++ make qt6-base-dev qt6-svg-dev libgtest-dev libgmock-dev libbenchmark-dev
          desktop-file-utils dpkg-dev  # checks of the desktop entry; the Debian package
          locales  # the locale sources the locale tests compile (tests/locale)
          ngspice xvfb xauth
          clang libclang-rt-14-dev)  # the fuzz targets: clang's libFuzzer and sanitizer runtimes

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd="sudo"; fi
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends \
    "${missing[@]}"
fi
