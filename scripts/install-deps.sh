#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing the system need.
# Only missing packages are installed; the package lists are refreshed once, when needed.
set -euo pipefail

packages=(
  # toolchain
  build-essential g++ clang libclang-rt-14-dev cmake ninja-build pkg-config git
  python3 python3-cryptography
  # libraries
  qt6-base-dev qt6-qpa-plugins libgl-dev
  unixodbc unixodbc-dev libsqliteodbc odbc-mdbtools sqlite3
  libcurl4-openssl-dev ca-certificates libzip-dev libpugixml-dev libfreexl-dev libsqlite3-dev libshp-dev
  # tests and benchmarks
  libgtest-dev libgmock-dev googletest libbenchmark-dev libssl-dev libxlsxwriter-dev python3-xlwt
  postgresql odbc-postgresql mariadb-server odbc-mariadb
  fonts-dejavu-core fonts-liberation2
  locales  # the sources localedef compiles the tests' de_DE.UTF-8 from
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]}" >&2
  echo "Run this script as root (or install them with apt-get) and try again." >&2
  exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
