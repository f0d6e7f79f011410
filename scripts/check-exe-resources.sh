#!/usr/bin/env bash
# Reads a Windows program's resources back from the built .exe: its icon must
# hold 16, 24, 32, 48 and 256 px images, and its version strings must be the
# build's version and the program's own names.
#   check-exe-resources.sh EXE VERSION DESCRIPTION
set -euo pipefail
exe="$1" version="$2" description="$3"
name="$(basename "$exe")"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
status=0
fail() { echo "$name: $*" >&2; status=1; }

# wrestool puts an icon group together again as an .ico file.
wrestool --extract --type=group_icon "$exe" >"$tmp/icon.ico"
sizes="$(icotool --list "$tmp/icon.ico" | sed -n 's/.*--width=\([0-9]*\).*/\1/p' | paste -sd ' ')"
[ "$sizes" = "16 24 32 48 256" ] || fail "icon sizes \"$sizes\", not \"16 24 32 48 256\""

# windres writes the version resource back as resource script text.
x86_64-w64-mingw32-windres --input="$exe" --output-format=rc >"$tmp/resources.rc"
major="${version%%.*}" minor="${version#*.}"
expect=(
  " FILEVERSION $major, $minor, 0, 0"
  " PRODUCTVERSION $major, $minor, 0, 0"
  "      VALUE \"FileDescription\", \"$description\""
  "      VALUE \"FileVersion\", \"$version\""
  "      VALUE \"ProductVersion\", \"$version\""
  "      VALUE \"ProductName\", \"Zubrica98\""
  "      VALUE \"OriginalFilename\", \"$name\""
)
for line in "${expect[@]}"; do
  grep -qxF -- "$line" "$tmp/resources.rc" || fail "no line '$line' in its version resource"
done
grep -qE '^      VALUE "LegalCopyright", "Copyright \(C\) [0-9]{4} .+"$' "$tmp/resources.rc" ||
  fail "no LegalCopyright in its version resource"
[ "$status" -eq 0 ] && echo "$name: icon $sizes px, version $version, \"$description\""
exit "$status"
