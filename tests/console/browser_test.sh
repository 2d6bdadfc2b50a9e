#!/bin/bash
# browser_test.sh BUILD_DIR
#
# Inside a device root: starts the demo's stack (deploy/stack), then Debian's
# chromium headless with a fresh profile, and drives the console through the
# DevTools protocol (browser_test.js, with playwright-core from
# BUILD_DIR/console-test, which scripts/test installs with npm ci).
# Screenshots land in BUILD_DIR/console-screenshots.
set -euo pipefail
[ "${DEVROOT:-}" = 1 ] || { echo "browser_test: run me inside tools/devroot" >&2; exit 1; }
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=$(cd "$1" && pwd)
modules=$build/console-test/node_modules
browser=${CHROMIUM:-/usr/bin/chromium}

[ -x "$browser" ] || { echo "browser_test: no $browser (scripts/test installs chromium)" >&2; exit 1; }
[ -d "$modules/playwright-core" ] ||
  { echo "browser_test: no $modules/playwright-core (scripts/test installs it)" >&2; exit 1; }
[ -f "$build/console/endpoints.json" ] ||
  { echo "browser_test: no $build/console/endpoints.json (target console)" >&2; exit 1; }

"$here/../../deploy/stack" "$build"

shots=$build/console-screenshots
rm -rf "$shots"
mkdir -p "$shots"
profile=$(mktemp -d /tmp/chromium-profile.XXXXXX)

# Port 0: chromium picks a free port and writes it to DevToolsActivePort.
"$browser" --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
  --disable-background-networking --disable-component-update --disable-sync \
  --user-data-dir="$profile" --remote-debugging-address=127.0.0.1 --remote-debugging-port=0 \
  about:blank >/tmp/chromium.log 2>&1 &
chromium_pid=$!
trap 'kill "$chromium_pid" 2>/dev/null || true' EXIT

for _ in $(seq 300); do
  grep -q /devtools/browser/ "$profile/DevToolsActivePort" 2>/dev/null && break
  kill -0 "$chromium_pid" 2>/dev/null || break
  sleep 0.1
done
if ! grep -q /devtools/browser/ "$profile/DevToolsActivePort" 2>/dev/null; then
  echo "browser_test: chromium did not start" >&2
  cat /tmp/chromium.log >&2
  exit 1
fi
# Two lines: the port, and the browser's DevTools path (no final newline).
port=$(sed -n 1p "$profile/DevToolsActivePort")
endpoint=$(sed -n 2p "$profile/DevToolsActivePort")

node "$here/browser_test.js" "ws://127.0.0.1:$port$endpoint" "$build" "$modules" "$shots"
