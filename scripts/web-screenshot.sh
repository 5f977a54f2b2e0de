#!/usr/bin/env bash
# Takes the README's picture of the notebook's page (docs/images/web-page.png):
# the browser test's run, in headless Chromium, saved with the About dialog open.
#   scripts/web-screenshot.sh [build dir] [output folder]
set -euo pipefail
cd "$(dirname "$0")/.."
bin=$(cd "${1:-build}/bin" && pwd)
out=$(mkdir -p "${2:-docs/images}" && cd "${2:-docs/images}" && pwd)
./scripts/install-deps.sh browser
/usr/bin/python3 tests/web/browser_test.py "$bin" --screenshot "$out/web-page.png"
