#!/usr/bin/env bash
# Installs the build and test tools when they are missing (needs root for apt-get).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
need=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
for pkg in cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev libpugixml-dev pkgconf python3 \
           libtirpc-dev libedit-dev libcpp-httplib-dev chromium \
           pybind11-dev python3-dev python3-numpy python3-pytest python3-matplotlib; do
  have_pkg "$pkg" || need+=("$pkg")
done
# node and npm for the panel's browser test (any install of them will do).
command -v node >/dev/null && command -v npm >/dev/null || need+=(nodejs npm)
if ((${#need[@]})); then
  if [[ $(id -u) -ne 0 ]]; then
    echo "missing packages: ${need[*]} (run as root, or install them with apt-get)" >&2
    exit 1
  fi
  echo "installing: ${need[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${need[@]}" >/dev/null
fi

# The panel's browser test drives chromium with puppeteer-core, at the version
# package-lock.json pins; it never downloads a browser of its own.
panel_tests=$root/tools/panel/tests
if ! cmp -s "$panel_tests/package-lock.json" "$panel_tests/node_modules/.motqr-installed-lock"; then
  echo "installing the panel browser test's node packages (npm ci)"
  (cd "$panel_tests" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --ignore-scripts --no-audit --no-fund --loglevel=error)
  cp "$panel_tests/package-lock.json" "$panel_tests/node_modules/.motqr-installed-lock"
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
