#!/usr/bin/env bash
# Builds Qt (Core, Gui, Widgets, Test; shared DLLs) for 64-bit Windows with
# mingw-w64 from Debian's own qt6-base source, the same version as the host's
# moc/rcc/uic, which serve the cross build. The result is installed into a
# cache folder keyed by the version and the options, and reused when present;
# the script prints that folder on its last line.
#   ZB_QT_CACHE  where installs live (default /var/cache/zubrica98)
#   ZB_QT_JOBS   parallel build jobs (default: number of cores)
# The system's apt configuration is left alone: the deb-src entry and the
# package lists live in a folder of the script's own.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/scripts/debian-packages.sh"

cache="${ZB_QT_CACHE:-/var/cache/zubrica98}"
jobs="${ZB_QT_JOBS:-$(nproc)}"

need=(ninja-build dpkg-dev qt6-base-dev qt6-base-dev-tools g++-mingw-w64-x86-64-posix
      debian-archive-keyring)
zb_install_missing "${need[@]}"

# The source must be the host tools' version, Debian revision included.
version="$(dpkg-query -W -f='${Version}' qt6-base-dev)"
upstream="${version%%+*}"
upstream="${upstream%%-*}"

# Everything that changes the built Qt goes into the key.
options=(-xplatform win32-g++ -qt-host-path /usr -release -shared
         -nomake tests -nomake examples
         -no-opengl -no-dbus -no-feature-sql -no-feature-network -no-feature-printsupport
         # Modules and plugins the program never loads only lengthen a cold CI
         # run. Direct2D stays: without it Qt 6.4 loses its DirectWrite font
         # engine and fails to link the windows plugin.
         -no-feature-concurrent -no-feature-xml
         -no-libjpeg -no-gif
         # Qt's own copies, whatever the mingw sysroot happens to hold.
         -qt-zlib -qt-libpng -qt-pcre -qt-harfbuzz -qt-freetype)
cmake_options=(-DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
               -DFEATURE_tabletevent=OFF -DZB_MINGW_SHARED_RUNTIME=ON -G Ninja)
key="$( { echo "$version"; printf '%s\n' "${options[@]}" "${cmake_options[@]}";
          cat "$root/cmake/mingw-w64.cmake";
          x86_64-w64-mingw32-g++-posix --version | head -n 1; } | sha256sum | cut -c1-12)"
prefix="$cache/qt-$upstream-$key"

if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

work="$cache/work-$upstream-$key"
mkdir -p "$work"
cd "$work"

src_dir="$work/qtbase-src"
zb_unpack_source qt6-base "$version" "$src_dir"

# Qt keeps the toolchain file's path in its own toolchain file, so the copy
# inside the install is the one it names.
mkdir -p "$prefix/share/zubrica98"
cp "$root/cmake/mingw-w64.cmake" "$prefix/share/zubrica98/mingw-w64.cmake"

build="$work/build"
mkdir -p "$build"
cd "$build"
if [ ! -f build.ninja ]; then
  echo "Configuring Qt $upstream for Windows into $prefix" >&2
  "$src_dir/configure" -prefix "$prefix" "${options[@]}" -- \
    -DCMAKE_TOOLCHAIN_FILE="$prefix/share/zubrica98/mingw-w64.cmake" "${cmake_options[@]}" >&2
fi
echo "Building Qt (long: about half an hour at two cores)" >&2
cmake --build . --parallel "$jobs" >&2
cmake --install . >&2

# The license a user of the DLLs is owed travels with the install.
cp "$src_dir/LICENSES/LGPL-3.0-only.txt" "$src_dir/LICENSES/GPL-3.0-only.txt" \
  "$prefix/share/zubrica98/"
touch "$prefix/.complete"
cd /
rm -rf "$work"
echo "$prefix"
