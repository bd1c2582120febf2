#!/usr/bin/env bash
# Installs the build and test tools when they are missing (needs root for apt-get).
set -euo pipefail
need=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
for pkg in cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev libpugixml-dev pkgconf python3 \
           pybind11-dev python3-dev python3-numpy python3-pytest python3-matplotlib; do
  have_pkg "$pkg" || need+=("$pkg")
done
if ((${#need[@]})); then
  if [[ $(id -u) -ne 0 ]]; then
    echo "missing packages: ${need[*]} (run as root, or install them with apt-get)" >&2
    exit 1
  fi
  echo "installing: ${need[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${need[@]}" >/dev/null
fi
