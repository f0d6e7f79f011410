#!/usr/bin/env bash
# The Windows package under Wine on an Xvfb display (with openbox):
#  1. the window tests (Qt Test) built for Windows, each run from a folder
#     holding the package's DLLs and plugins;
#  2. one whole session: zubrica98.exe from the package, started in the demo
#     PAT98 folder, shows the demo day, is closed through its popup menu and
#     must leave Korvane.txt and Zubrica98.ini as the Linux program does in
#     the same steps; zubrica98-report.exe --json, --bets and --analysis type
#     must print what the Linux report prints.
# Pictures of the session go to $build/wine-e2e/*.png.
#   ZB_WIN_BUILD     the Windows build folder (default build-winqt)
#   ZB_XVFB_DISPLAY  the Xvfb display number (default: a free one)
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"

bash scripts/windows-package.sh >/dev/null
qt="$(bash scripts/build-qt-windows.sh | tail -n 1)"
build="${ZB_WIN_BUILD:-build-winqt}"
host="$build/host"
jobs="$(nproc)"

for p in openbox xdotool imagemagick x11-utils; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$p"
  fi
done

# Session ends under Windows come as window messages, not POSIX signals.
mapfile -t tests < <(cd tests/windows && ls ./*_test.cpp | sed 's|^\./||; s|\.cpp$||' |
  grep -vx session_end_test)
cmake -S . -B "$build" -DZB_TESTS=ON >/dev/null
quiet() { "$@" >"$build/last-build.log" 2>&1 || { cat "$build/last-build.log" >&2; return 1; }; }
quiet cmake --build "$build" -j"$jobs" --target "${tests[@]}"
# The Linux program, demo writer and report, to compare with.
cmake -S . -B "$host" -DCMAKE_BUILD_TYPE=Release -DZB_TESTS=OFF -DZB_BENCHMARKS=OFF >/dev/null
quiet cmake --build "$host" -j"$jobs" --target zubrica98 zubrica98-demo zubrica98-report

pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wineserver -k 2>/dev/null || true
}
trap cleanup EXIT
# ZB_XVFB_DISPLAY=N takes display :N; by default Xvfb picks a free one.
if [ -n "${ZB_XVFB_DISPLAY:-}" ]; then
  Xvfb ":$ZB_XVFB_DISPLAY" -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null &
  pids+=($!)
  export DISPLAY=":$ZB_XVFB_DISPLAY"
  for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
else
  display_file="$(mktemp)"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
  pids+=($!)
  for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
  export DISPLAY=":$(cat "$display_file")"
  rm -f "$display_file"
fi
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1

# The package carries only the Windows platform plugin.
unset QT_QPA_PLATFORM
# The prefix's wineserver keeps the display it first met: start it here.
export WINEPREFIX="$PWD/$build/wineprefix" WINEARCH=win64 WINEDEBUG=-all
wineserver -k 2>/dev/null || true
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wine wineboot --init >/dev/null 2>&1
fi

status=0

# 0. Both programs' icon and version, read back from the packaged .exe files.
version="$(sed -n 's/^#define ZB_VERSION "\(.*\)"$/\1/p' "$build/generated/zb_version.h")"
bash scripts/check-exe-resources.sh "$build/package/Zubrica98/zubrica98.exe" "$version" \
  "Zubrica98" || status=1
bash scripts/check-exe-resources.sh "$build/package/Zubrica98/zubrica98-report.exe" "$version" \
  "Zubrica98 report command" || status=1

# 1. Window tests.
run="$build/wine-tests"
rm -rf "$run"
mkdir -p "$run"
cp -a "$build/package/Zubrica98/." "$run/"
for t in "${tests[@]}"; do cp "$build/tests/$t.exe" "$run/"; done
bash scripts/windows-deploy-dlls.sh "$run" "$qt"
for t in "${tests[@]}"; do
  # Under Wine a redirected standard output stays empty: Qt Test writes a file.
  if ! (cd "$run" && ZB_PNG_DIR="$root/$build/png" wine "./$t.exe" -o "$t.txt,txt" >"$t.log" 2>&1)
  then
    echo "FAILED under Wine: $t" >&2
    grep -E '^(FAIL!|   Loc|   Actual|   Expected|QFATAL)' "$run/$t.txt" >&2 ||
      tail -n 20 "$run/$t.log" >&2
    status=1
  fi
  grep -E '^Totals:' "$run/$t.txt" | sed "s/^/$t: /" || echo "$t: no result" >&2
done

# 2. One whole session, Windows and Linux side by side.
e2e="$build/wine-e2e"
rm -rf "$e2e"
"$host/zubrica98-demo" "$e2e/win"
cp -a "$e2e/win" "$e2e/linux"
cp -a "$build/package/Zubrica98/." "$e2e/win/"
cp "$host/zubrica98" "$e2e/linux/"

# The report on the fresh folders: the same state, but for the folder's
# spelling.
unfolder() { sed -E 's/"(Pat98Folder|HomeFolder)":"[^"]*"/"\1":""/g'; }
(cd "$e2e/linux" && "$root/$host/zubrica98-report" --json) | unfolder >"$e2e/report-linux.json"
(cd "$e2e/win" && wine ./zubrica98-report.exe --json) | tr -d '\r' | unfolder >"$e2e/report-win.json"
if ! cmp -s "$e2e/report-linux.json" "$e2e/report-win.json"; then
  echo "zubrica98-report --json differs between Windows and Linux" >&2
  status=1
fi

# Starts a session in folder $1 with command $2..., waits for the main window
# and the passbook, takes a picture, and closes it through the popup menu.
session() {
  local folder="$1" name="$2"
  shift 2
  (cd "$folder" && exec "$@") >"$e2e/$name.log" 2>&1 &
  local pid=$! wid=""
  for _ in $(seq 600); do
    wid="$(xdotool search --onlyvisible --name '^Zubrica98$' 2>/dev/null | head -n 1)" || true
    [ -n "$wid" ] && [ -f "$folder/Korvane.txt" ] && break
    sleep 0.1
  done
  if [ -z "$wid" ]; then
    echo "$name: no main window" >&2
    kill "$pid" 2>/dev/null || true
    return 1
  fi
  sleep 1
  import -window root "$e2e/$name-main.png"
  xdotool mousemove --window "$wid" 60 80 click 3
  sleep 1
  import -window root "$e2e/$name-menu.png"
  xdotool key x
  for _ in $(seq 300); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then
    echo "$name: still running after 終了" >&2
    kill "$pid"
    return 1
  fi
  wait "$pid"
}

session "$e2e/win" win wine ./zubrica98.exe || status=1
session "$e2e/linux" linux env QT_QPA_PLATFORM=xcb ./zubrica98 || status=1
if ! cmp -s "$e2e/win/Korvane.txt" "$e2e/linux/Korvane.txt"; then
  echo "Korvane.txt differs between Windows and Linux" >&2
  status=1
fi
# Wine reports window frames a few pixels apart from a native window
# manager's, so saved positions may differ by up to 4 px (60 twips).
if ! awk -F= 'NR == FNR { a[FNR] = $0; n = FNR; next }
     { b = a[FNR]; split(b, p, "=")
       if ($0 == b) next
       if ($1 ~ /^(Top|Left)[0-9]$/ && p[1] == $1 && $2 - p[2] <= 60 && p[2] - $2 <= 60) {
         print "  " $1 ": Linux " p[2] ", Wine " $2; next }
       bad = 1; print "  line " FNR ": Linux \"" b "\", Wine \"" $0 "\"" }
     END { if (FNR != n) bad = 1; exit bad }' "$e2e/linux/Zubrica98.ini" "$e2e/win/Zubrica98.ini"; then
  echo "Zubrica98.ini differs between Windows and Linux" >&2
  status=1
fi

# The bet archive after the session, as each report command reads it.
for mode in "--bets" "--analysis type"; do
  # shellcheck disable=SC2086  # the mode is two words on purpose
  (cd "$e2e/linux" && "$root/$host/zubrica98-report" $mode) >"$e2e/archive-linux.csv"
  # shellcheck disable=SC2086
  (cd "$e2e/win" && wine ./zubrica98-report.exe $mode) >"$e2e/archive-win.csv"
  if [ ! -s "$e2e/archive-linux.csv" ] || ! cmp -s "$e2e/archive-linux.csv" "$e2e/archive-win.csv"
  then
    echo "zubrica98-report $mode differs between Windows and Linux" >&2
    status=1
  fi
done

exit "$status"
