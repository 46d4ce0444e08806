#!/usr/bin/env bash
# Installs the Debian packages the tool set builds and tests with, skipping
# those already installed. Runs apt-get as root, or through sudo.
set -euo pipefail

packages=(
    # build
    cmake g++ make pkg-config
    qtbase5-dev libqt5serialport5-dev libqt5sql5-sqlite qttools5-dev-tools
    libquazip1-qt5-dev libftdi1-dev libqwt-qt5-dev qttranslations5-l10n
    # build: qelExelRd inserts rows through SQLite's C API
    libsqlite3-dev
    # build: TLS of the Modbus/TCP Security line
    libssl-dev
    # build: renders the programs' icon drawings to the theme's sizes
    libqt5svg5-dev
    # checks and packaging
    clang-format help2man desktop-file-utils lintian
    # tests
    sqlite3 python3-openpyxl openssh-client openssh-server
    # tests: pymodbus, the independent Modbus peer, with its serial lines;
    # the certificates of the TLS tests
    python3-pymodbus python3-serial python3-serial-asyncio openssl
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

if [[ ${#missing[@]} -eq 0 ]]; then
    echo "setup: all packages present"
    exit 0
fi

echo "setup: installing ${missing[*]}"
if [[ $(id -u) -eq 0 ]]; then
    sudo=()
elif command -v sudo >/dev/null; then
    sudo=(sudo)
else
    echo "setup: need root or sudo to install: ${missing[*]}" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
