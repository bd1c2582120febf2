#!/usr/bin/env bash
# The panel in a real browser: runs panel_browser_test.mjs with Debian's chromium
# and puppeteer-core (scripts/setup.sh installs both). Exits 77, which ctest
# counts as skipped, when one of them is missing.
#   MOTQR=... TQR_SIM=... browser_test.sh <folder for the screenshots>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
chromium=${CHROMIUM:-/usr/bin/chromium}
if [[ ! -x $chromium ]]; then
  echo "SKIP: no chromium at $chromium (scripts/setup.sh installs Debian's chromium)"
  exit 77
fi
if ! command -v node >/dev/null; then
  echo "SKIP: no node (scripts/setup.sh installs nodejs)"
  exit 77
fi
if [[ ! -f $here/node_modules/puppeteer-core/package.json ]]; then
  echo "SKIP: no puppeteer-core in $here/node_modules (scripts/setup.sh runs npm ci there)"
  exit 77
fi
CHROMIUM=$chromium exec node "$here/panel_browser_test.mjs" "${1:-.}"
