#!/usr/bin/env bash
# A throwaway PostgreSQL 15 cluster in a folder of its own, on a free loopback port.
#
#   scripts/pg_cluster.sh start DIR [SETTING=VALUE ...]   creates and starts it; prints its URI
#   scripts/pg_cluster.sh stop DIR                        stops it and removes DIR
#   scripts/pg_cluster.sh down DIR                        stops it, keeping its data
#   scripts/pg_cluster.sh up DIR                          starts it again on the same port
#
# initdb refuses to run as root: as root the cluster runs as the `postgres` user Debian's
# package creates; as anyone else, as yourself. Settings go to the server (fsync=off for tests).
set -euo pipefail
pgbin=${PGBIN:-/usr/lib/postgresql/15/bin}
verb=${1:?usage: pg_cluster.sh start|stop|down|up DIR}
dir=${2:?usage: pg_cluster.sh start|stop|down|up DIR}
shift 2

as_owner() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

case "$verb" in
  start)
    [ -x "$pgbin/initdb" ] || { echo "no PostgreSQL 15 in $pgbin (scripts/setup.sh installs it)" >&2; exit 2; }
    mkdir -p "$dir"
    chmod 755 "$dir"
    [ "$(id -u)" -eq 0 ] && chown postgres: "$dir"
    as_owner "$pgbin/initdb" -D "$dir/data" -U postgres -A trust -E UTF8 --locale=C --no-sync >"$dir/initdb.log" 2>&1 ||
      { cat "$dir/initdb.log" >&2; exit 1; }
    # A port below the range the system hands to outgoing connections (one of those may hold
    # any port in it without listening), nobody listening on it; taken by someone else between
    # the look and the start, another one.
    ephemeral=$(cut -f1 /proc/sys/net/ipv4/ip_local_port_range 2>/dev/null || echo 32768)
    [ "$ephemeral" -gt 21000 ] || ephemeral=60000
    started=
    for _ in 1 2 3; do
      port=
      for _ in $(seq 50); do
        candidate=$((20000 + RANDOM % (ephemeral - 20000)))
        if ! (exec 3<>"/dev/tcp/127.0.0.1/$candidate") 2>/dev/null; then port=$candidate; break; fi
      done
      [ -n "$port" ] || { echo "no free port found" >&2; exit 1; }
      echo "$port" >"$dir/port"
      opts="-p $port -k $dir -c listen_addresses=127.0.0.1 -c max_connections=300"
      for s in "$@"; do opts="$opts -c $s"; done
      echo "$opts" >"$dir/options"
      if as_owner "$pgbin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -o "$opts" start >/dev/null; then
        started=yes
        break
      fi
    done
    [ -n "$started" ] || { cat "$dir/server.log" >&2; exit 1; }
    echo "postgresql://postgres@127.0.0.1:$port/postgres"
    ;;
  down)
    as_owner "$pgbin/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null
    ;;
  up)
    as_owner "$pgbin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -o "$(cat "$dir/options")" start >/dev/null
    ;;
  stop)
    # The folder goes only once its server is gone: removed under a live server, a failed rm
    # left both behind. A server that neither stop ends (or whose pid file is gone) is found by
    # the data folder on its command line and killed.
    if [ -d "$dir/data" ]; then
      as_owner "$pgbin/pg_ctl" -D "$dir/data" -m fast -w -t 30 stop >/dev/null 2>&1 ||
        as_owner "$pgbin/pg_ctl" -D "$dir/data" -m immediate -w -t 30 stop >/dev/null 2>&1 || true
      for pid in $(pgrep -f -- "-D $dir/data" || true); do kill -KILL "$pid" 2>/dev/null || true; done
      for _ in $(seq 100); do pgrep -f -- "-D $dir/data" >/dev/null || break; sleep 0.1; done
      if pgrep -f -- "-D $dir/data" >/dev/null; then echo "PostgreSQL of $dir does not stop" >&2; exit 1; fi
    fi
    rm -rf "$dir"
    ;;
  *) echo "usage: pg_cluster.sh start|stop|down|up DIR" >&2; exit 2 ;;
esac
