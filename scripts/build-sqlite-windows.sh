#!/usr/bin/env bash
# Builds SQLite as a static library for 64-bit Windows with mingw-w64 from
# Debian's own sqlite3 source, the same version as the host's libsqlite3-dev.
# The source tree is turned into the amalgamation (sqlite3.c, which needs
# tclsh) and compiled with the cross compiler. The result is installed into a
# cache folder keyed by the version and the options, and reused when present;
# the script prints that folder on its last line (include/, lib/, share/).
#   ZB_SQLITE_CACHE  where installs live (default /var/cache/zubrica98)
# The system's apt configuration is left alone: the deb-src entry and the
# package lists live in a folder of the script's own.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

cache="${ZB_SQLITE_CACHE:-/var/cache/zubrica98}"

need=(dpkg-dev build-essential tcl libsqlite3-dev gcc-mingw-w64-x86-64-posix
      debian-archive-keyring)
missing=()
for p in "${need[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -ne 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages. Run this, then start again:" >&2
    echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}" >&2
  DEBIAN_FRONTEND=noninteractive apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >&2
fi

# The host's version, Debian revision included: both builds use one SQLite.
version="$(dpkg-query -W -f='${Version}' libsqlite3-dev)"
upstream="${version%%-*}"

cc=x86_64-w64-mingw32-gcc-posix
# Everything that changes the built library goes into the key.
cflags=(-O2 -DSQLITE_THREADSAFE=1 -DSQLITE_OMIT_LOAD_EXTENSION)
key="$( { echo "$version"; printf '%s\n' "${cflags[@]}"; "$cc" --version | head -n 1; } |
        sha256sum | cut -c1-12)"
prefix="$cache/sqlite-$upstream-$key"

if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

work="$cache/work-sqlite-$upstream-$key"
mkdir -p "$work"
cd "$work"

# A private apt configuration: only a deb-src entry for this machine's suite.
. /etc/os-release
suite="${VERSION_CODENAME:?no VERSION_CODENAME in /etc/os-release}"
mirror="${ZB_DEBIAN_MIRROR:-http://deb.debian.org/debian}"
apt_dir="$work/apt"
mkdir -p "$apt_dir/sources.list.d" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
cat >"$apt_dir/sources.list.d/zubrica98-src.sources" <<EOF
Types: deb-src
URIs: $mirror
Suites: $suite $suite-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: ${ZB_DEBIAN_SECURITY_MIRROR:-http://deb.debian.org/debian-security}
Suites: $suite-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
: >"$apt_dir/sources.list"
apt_opts=(-o "Dir::Etc::SourceList=$apt_dir/sources.list"
          -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
          -o "Dir::State::Lists=$apt_dir/lists"
          -o "Dir::Cache=$apt_dir/cache"
          -o "APT::Sandbox::User=$(id -un)")

src_dir="$work/sqlite-src"
if [ ! -f "$src_dir/.unpacked" ]; then
  if ! ls sqlite3_"${version#*:}".dsc >/dev/null 2>&1; then
    echo "Fetching sqlite3 $version source" >&2
    apt-get "${apt_opts[@]}" update -qq >&2
    apt-get "${apt_opts[@]}" source --download-only "sqlite3=$version" >&2
  fi
  rm -rf "$src_dir"
  dpkg-source --no-check -x sqlite3_"${version#*:}".dsc "$src_dir" >&2
  touch "$src_dir/.unpacked"
fi

# The amalgamation is made by the host's tools from the source tree.
build="$work/build"
mkdir -p "$build"
cd "$build"
if [ ! -f sqlite3.c ]; then
  echo "Making the SQLite $upstream amalgamation" >&2
  "$src_dir/configure" >/dev/null
  make sqlite3.c >/dev/null
fi
echo "Compiling SQLite for Windows" >&2
"$cc" "${cflags[@]}" -c sqlite3.c -o sqlite3.o
rm -f libsqlite3.a
x86_64-w64-mingw32-ar rcs libsqlite3.a sqlite3.o

mkdir -p "$prefix/include" "$prefix/lib" "$prefix/share/zubrica98"
cp sqlite3.h sqlite3ext.h "$prefix/include/"
cp libsqlite3.a "$prefix/lib/"
# SQLite is in the public domain; its notice (the blessing at the head of
# its sources) and Debian's copyright file travel with the install.
{ echo "SQLite $upstream (Debian source $version), linked into the programs."
  echo
  awk 'NR == 1, /\*\//' sqlite3.h
  echo
  cat "$src_dir/debian/copyright"; } >"$prefix/share/zubrica98/SQLite-public-domain.txt"
touch "$prefix/.complete"
cd /
rm -rf "$work"
echo "$prefix"
