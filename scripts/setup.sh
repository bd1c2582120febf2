#!/usr/bin/env bash
# Installs the build and test tools when they are missing (needs root for apt-get).
set -euo pipefail
need=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
for pkg in cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev libpugixml-dev libtirpc-dev pkgconf python3; do
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
# Third-party VXI-11 clients the interoperability tests and benchmarks run against tqr-sim;
# their tests skip when these are absent, so a failed install is only a warning.
optional=()
for pkg in python3-pyvisa python3-pyvisa-py lxi-tools liblxi-dev; do
  have_pkg "$pkg" || optional+=("$pkg")
done
if ((${#optional[@]})) && [[ $(id -u) -eq 0 ]]; then
  echo "installing: ${optional[*]}"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${optional[@]}" >/dev/null ||
    echo "warning: could not install ${optional[*]}; their interoperability tests will skip" >&2
fi
