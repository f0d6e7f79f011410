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
. "$root/scripts/debian-packages.sh"

cache="${ZB_SQLITE_CACHE:-/var/cache/zubrica98}"

need=(dpkg-dev build-essential tcl libsqlite3-dev gcc-mingw-w64-x86-64-posix
      debian-archive-keyring)
zb_install_missing "${need[@]}"

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

src_dir="$work/sqlite-src"
zb_unpack_source sqlite3 "$version" "$src_dir"

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
