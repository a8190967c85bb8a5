#!/usr/bin/env bash
# Builds the Debian packages in ./build (or $BUILD_DIR) with `cpack -G DEB`, lists each one's
# control fields and files, then tries them unpacked: every program's --version against the
# packages' version, the server on its installed default configuration (its store and port
# moved to a temporary folder) with a backup and the headless host's demonstration script
# against it, and the systemd unit with `systemd-analyze verify` and
# `systemd-analyze security`. Nothing is installed on this machine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
. "$root/scripts/server_port.sh"

[ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j "$(nproc)"
rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB)

work=$(mktemp -d)
server_pid=""
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

version=""
for deb in "$build"/*.deb; do
  echo "=== $(basename "$deb")"
  dpkg-deb --field "$deb" | sed 's/^/  /'
  dpkg-deb --contents "$deb" | awk '{print "   ", $1, $6, $7, $8}'
  dpkg-deb --extract "$deb" "$work/root"
  version=$(dpkg-deb --field "$deb" Version)
done

echo "=== the programs, unpacked"
for program in "$work"/root/usr/bin/*; do
  name=$(basename "$program")
  if [ "$name" = backoffice ]; then
    shown=$(QT_QPA_PLATFORM=offscreen "$program" --version)
  else
    shown=$("$program" --version)
  fi
  echo "  $shown"
  [ "$shown" = "$name $version" ] || { echo "$name --version says '$shown', the packages $version" >&2; exit 1; }
done

echo "=== the server on its default configuration"
conf="$work/root/etc/ktr52300/server.conf"
grep -q '^listen = "127.0.0.1:52300"$' "$conf"
grep -q '^db = "/var/lib/ktr52300/comissao.db"$' "$conf"
"$work/root/usr/bin/ktr52300-server" --config "$conf" --listen 127.0.0.1:0 --db "$work/comissao.db" --demo \
  >"$work/server.out" 2>"$work/server.log" &
server_pid=$!
port=$(server_port "$work/server.out" "$work/server.log" "$server_pid")
"$work/root/usr/bin/ktr52300-server" --config "$conf" backup --db "$work/comissao.db" --to "$work/backup.db"
# The headless host loads the screen module from the package's library folder.
sqlite3 "$work/catalogue.db" <"$root/scripts/demo-catalogue.sql"
"$work/root/usr/bin/backoffice-script" --server "127.0.0.1:$port" --branch 0001 --local-db "$work/catalogue.db" \
  "$root/scripts/demo.script" >"$work/script.out"
echo "  backoffice-script played scripts/demo.script: $(grep -c . "$work/script.out") lines"
kill -TERM "$server_pid"
wait "$server_pid"
server_pid=""
echo "  served on port $port and stopped on SIGTERM:"
sed 's/^/    /' "$work/server.log"

echo "=== the systemd unit"
unit="$work/root/usr/lib/systemd/system/ktr52300-server.service"
# The units it names (sysinit.target, network-online.target, ...) are this machine's.
for units in /lib/systemd/system /usr/lib/systemd/system; do
  [ -d "$units" ] && cp -rn "$units/." "$work/root/usr/lib/systemd/system/"
done
systemd-analyze verify --root="$work/root" "$unit"
echo "  systemd-analyze verify: no complaint"
systemd-analyze security --offline=true --root="$work/root" "$unit" | tail -n 3
