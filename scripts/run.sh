#!/usr/bin/env bash
# The main job: builds, starts the application server on its embedded SQLite store (with a
# small demonstration data set on first start) and opens the commission screen: in the
# desktop host (backoffice) when there is a display, else in the headless host with a
# demonstration script. --desktop or --headless as the first argument chooses; the other
# arguments go to the host (for the headless one, a script file of your own).
set -euo pipefail
desktop=""
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then desktop=1; fi
case "${1:-}" in
  --desktop) desktop=1; shift ;;
  --headless) desktop=""; shift ;;
esac
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/server_port.sh"
build=${BUILD_DIR:-$root/build}
"$root/scripts/build.sh" >/dev/null

work=$(mktemp -d)
server_pid=""
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

server=("$build/bin/ktr52300-server" ${KTR_DB:+--db "$KTR_DB"})
# A demonstration editor of branch 0001 signs the screen in, with a new password each run
# (handed to the host in the environment, never on a command line).
KTR52300_PASSWORD=$(head -c 18 /dev/urandom | base64)
export KTR52300_PASSWORD
if "${server[@]}" user list | grep -q '^demo '; then
  "${server[@]}" user passwd demo <<<"$KTR52300_PASSWORD"
else
  "${server[@]}" user add demo --role editor --branch 0001 <<<"$KTR52300_PASSWORD"
fi

# The server keeps its store under the user's data directory unless told otherwise; its log
# goes to a file, so that it does not mix with the screen's output.
"${server[@]}" --listen 127.0.0.1:0 --demo >"$work/server.out" 2>"$work/server.log" &
server_pid=$!
port=$(server_port "$work/server.out" "$work/server.log" "$server_pid")
echo "application server on 127.0.0.1:$port"

# The host's local database: the event-type catalogue.
sqlite3 "$work/local.db" <"$root/scripts/demo-catalogue.sql"

if [ -n "$desktop" ]; then
  if [ ! -x "$build/bin/backoffice" ]; then
    echo "backoffice was not built (is qt6-base-dev installed? see scripts/setup.sh)" >&2
    exit 1
  fi
  "$build/bin/backoffice" --server "127.0.0.1:$port" --user demo --local-db "$work/local.db" --open "$@"
elif [ $# -gt 0 ]; then
  "$build/bin/backoffice-script" --server "127.0.0.1:$port" --user demo --local-db "$work/local.db" "$@"
else
  "$build/bin/backoffice-script" --server "127.0.0.1:$port" --user demo --local-db "$work/local.db" \
    "$root/scripts/demo.script"
fi
