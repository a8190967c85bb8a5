#!/usr/bin/env bash
# Installs the Debian packages the build, the tests, the demo and the benchmarks need.
set -euo pipefail
pkgs=(cmake g++ make pkg-config libgtest-dev libgmock-dev libbenchmark-dev
      libasio-dev nlohmann-json3-dev libsqlite3-dev sqlite3 qt6-base-dev poppler-utils
      qt6-translations-l10n  # Qt's own dialogs in Portuguese
      libcli11-dev libspdlog-dev libsodium-dev libssl-dev
      libpq-dev postgresql-15  # the PostgreSQL store, its test cluster and pgbench
      procps)  # pgrep: the test clusters left running are found by their folder
missing=()
for p in "${pkgs[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
