#!/bin/bash
# Sets up and builds, starts the simulated port services on loopback and the program against
# them, with its settings in demo-home/. Ends the services when the program ends.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh tidex tidex-sites

port="${TIDEX_DEMO_PORT:-18080}"
home="${TIDEX_HOME:-$PWD/demo-home}"
# The settings hold an account: the folder and what is written into it are the user's alone.
(umask 077 && mkdir -p "$home")
ini="$home/Tidex.ini"
umask 077
if ! grep -q '^\[servers\]' "$ini" 2>/dev/null; then
  {
    [ -s "$ini" ] && printf '\r\n'
    printf '[servers]\r\n'
    for key in board boardip customs imct maker; do printf '%s=http://127.0.0.1:%s\r\n' "$key" "$port"; done
  } >>"$ini"
fi

# The account the simulated IMCT service knows (TIDEX / PASS), stored as the console stores it.
if ! grep -q '^001=' "$ini" 2>/dev/null; then
  account="001=$(printf TIDEX | base64)"$'\r'$'\n'"002=$(printf PASS | base64)"$'\r'
  if grep -q '^\[setup\]' "$ini" 2>/dev/null; then
    awk -v account="$account" '{ print } /^\[setup\]/ { print account }' "$ini" >"$ini.new"
    mv "$ini.new" "$ini"
  else
    printf '[setup]\r\n%s\n' "$account" >>"$ini"
  fi
fi

if ! grep -q '^\[pilots\]' "$ini" 2>/dev/null; then
  build/bin/tidex-sites --pilots-ini >>"$ini"
fi

# The board moves a vessel's time at wharf 1108 every few minutes: open a wharf monitor for
# 1108 (the console's "碼頭" button) and an alert follows within a few minutes.
build/bin/tidex-sites --listen "127.0.0.1:$port" --demo &
sites=$!
control="http://127.0.0.1:$port/_control"
for _ in $(seq 50); do curl -sf "$control/log" >/dev/null && break; sleep 0.1; done

# The remote batch list holds two registration numbers; the IMCT service answers them with no
# data, and 01VXXX with container counts from four minutes after it was first asked for: its
# monitor finds them at its next query (every five minutes), alerts, records the finding and
# sends the mail form, however long after the start the user opens it.
printf 'CHECK\n01VXXX\n01VYYY\n' | curl -sf -X POST --data-binary @- "$control/maker/batch-list" >/dev/null
curl -sf -X POST \
  "$control/imct/found?regno=01VXXX&vessel=%20YM%20HARMONY%20&laden=12&empty=3&after=240" >/dev/null
trap 'kill $sites 2>/dev/null || true' EXIT

[ "$(id -u)" -ne 0 ] || export QTWEBENGINE_DISABLE_SANDBOX=1
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display: running under a virtual X server (xvfb-run)."
  runner=(xvfb-run -a)
else
  runner=()
fi
echo "Settings: $ini"
echo "The console starts hidden in the tray: double-click the icon, or start the program again."
TIDEX_HOME="$home" "${runner[@]}" build/bin/tidex
