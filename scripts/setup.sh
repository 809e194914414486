#!/bin/sh
# Installs every Debian package the build, the tests and the benchmarks need.
# Idempotent: packages already present are skipped without touching apt.
set -eu

PACKAGES="
build-essential cmake pkg-config
sqlite3 libsqlite3-dev
libfmt-dev libcli11-dev libtomlplusplus-dev nlohmann-json3-dev
libzip-dev libpugixml-dev
libgtest-dev libgmock-dev libbenchmark-dev
libfreetype-dev libfontconfig-dev fonts-liberation2
libreoffice-writer-nogui poppler-utils cups-client xdg-utils
"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed"; then
        missing="$missing $p"
    fi
done

if [ -z "$missing" ]; then
    exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi
echo "setup: installing$missing" >&2
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q $missing
