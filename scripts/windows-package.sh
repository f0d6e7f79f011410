#!/usr/bin/env bash
# Makes dist/Zubrica98-win64.zip: zubrica98.exe and zubrica98-report.exe
# cross-built for 64-bit Windows against Qt's DLLs, with every DLL they load
# beside them, the Qt plugins and translation, a README and the licenses.
# The first run builds Qt for Windows (see build-qt-windows.sh); later runs
# reuse it.
#   ZB_WIN_BUILD  build folder (default build-winqt)
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"

bash scripts/setup.sh --all
for p in zip qt6-translations-l10n; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    if [ "$(id -u)" -ne 0 ]; then
      echo "Missing package $p: sudo apt-get install -y $p" >&2
      exit 1
    fi
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$p"
  fi
done

qt="$(bash scripts/build-qt-windows.sh | tail -n 1)"
sqlite="$(bash scripts/build-sqlite-windows.sh | tail -n 1)"
build="${ZB_WIN_BUILD:-build-winqt}"
mingw=x86_64-w64-mingw32

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZB_WERROR=ON \
  -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
  -DQT_CHAINLOAD_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
  -DSQLite3_INCLUDE_DIR="$sqlite/include" -DSQLite3_LIBRARY="$sqlite/lib/libsqlite3.a" \
  -DZB_MINGW_SHARED_RUNTIME=ON -DZB_WINDOWS=ON -DZB_TESTS=OFF -DZB_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target zubrica98 zubrica98-report

stage="$build/package/Zubrica98"
rm -rf "$build/package"
mkdir -p "$stage/platforms" "$stage/styles" "$stage/translations" "$stage/licenses"
cp "$build/zubrica98.exe" "$build/zubrica98-report.exe" "$stage/"
cp "$qt/plugins/platforms/qwindows.dll" "$stage/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
cp /usr/share/qt6/translations/qtbase_ja.qm "$stage/translations/"

bash scripts/windows-deploy-dlls.sh "$stage" "$qt"

"$mingw-strip" --strip-unneeded "$stage"/*.exe "$stage"/*.dll "$stage"/*/*.dll

# Texts for Windows users: CR LF, UTF-8 with a byte order mark so that old
# Notepad reads the Japanese.
crlf() { printf '\xef\xbb\xbf'; sed 's/$/\r/' "$1"; }
# The README lists what was copied, so that removing it spares PAT98's own files.
files="$(cd "$stage" && { ls -p | grep -v / ; echo README.txt; ls -p | grep / ; } |
  LC_ALL=C sort -u | paste -sd ' ' | fold -s -w 70 | sed 's/ *$//; s/^/    /')"
FILES="$files" awk '$0 == "@FILES@" { print ENVIRON["FILES"]; next } { print }' \
  packaging/windows/README.txt >"$build/README.txt"
crlf "$build/README.txt" >"$stage/README.txt"
crlf "$qt/share/zubrica98/LGPL-3.0-only.txt" >"$stage/licenses/Qt-LGPL-3.0.txt"
crlf "$qt/share/zubrica98/GPL-3.0-only.txt" >"$stage/licenses/Qt-GPL-3.0.txt"
crlf /usr/share/doc/libqt6core6/copyright >"$stage/licenses/Qt-copyright.txt"
crlf "$sqlite/share/zubrica98/SQLite-public-domain.txt" >"$stage/licenses/SQLite-public-domain.txt"
crlf /usr/share/doc/mingw-w64-common/copyright >"$stage/licenses/mingw-w64-runtime.txt"
crlf "/usr/share/doc/gcc-mingw-w64-x86-64-posix-runtime/copyright" \
  >"$stage/licenses/gcc-runtime-libraries.txt"

# Same sources, same zip: fixed times and a sorted listing.
stamp="$(git log -1 --format=%cI 2>/dev/null || date -u +%FT%TZ)"
find "$build/package" -exec touch -h -d "$stamp" {} +
mkdir -p dist
rm -f dist/Zubrica98-win64.zip
(cd "$build/package" && find Zubrica98 -print | LC_ALL=C sort |
  zip -X -q -9 -@ "$root/dist/Zubrica98-win64.zip")
ls -l dist/Zubrica98-win64.zip
