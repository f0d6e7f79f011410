#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks for building and testing on
# Linux; with --all also what the fuzz targets and the Windows build under
# Wine need. As root it runs apt-get; otherwise it prints the line to run and
# stops.
#   scripts/setup.sh [--all]
set -euo pipefail

packages=(build-essential cmake pkg-config qt6-base-dev libgtest-dev libgmock-dev
          libbenchmark-dev nlohmann-json3-dev libsqlite3-dev fonts-ipafont xvfb xauth
          qt6-translations-l10n
          librsvg2-bin icoutils)                         # the program's icon
case "${1:-}" in
  --all)
    packages+=(clang-14 libclang-rt-14-dev                    # fuzz targets
               g++-mingw-w64-x86-64-posix wine64 googletest   # Windows build under Wine
               tcl)                                           # SQLite amalgamation for Windows
    ;;
  "") ;;
  *) echo "usage: scripts/setup.sh [--all]" >&2; exit 1 ;;
esac

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
  echo "Missing packages. Run this, then start again:" >&2
  echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq "${missing[@]}"
