#!/usr/bin/env bash
# windows-deploy-dlls.sh DIR QT_PREFIX: copies into DIR every DLL that the
# .exe files in DIR and the plugin DLLs in its subfolders load, following
# their imports (as windeployqt would): Qt's DLLs and the mingw-w64 runtime.
# A DLL found nowhere fails the script, unless Windows itself provides it.
set -euo pipefail
dir="$1"
qt="$2"
mingw=x86_64-w64-mingw32

# Looked for in this order. A DLL that mingw-w64 has an import library for
# (libkernel32.a for KERNEL32.dll) belongs to Windows and stays out.
gcc_dir="$(dirname "$("$mingw-g++-posix" -print-libgcc-file-name)")"
search=("$qt/bin" "$gcc_dir" "/usr/$mingw/lib" "/usr/$mingw/bin")
system_lib="/usr/$mingw/lib"

declare -A available=()
for d in "${search[@]}"; do
  for f in "$d"/*.[dD][lL][lL]; do
    [ -f "$f" ] || continue
    base="${f##*/}"
    [ -n "${available[${base,,}]:-}" ] || available[${base,,}]="$f"
  done
done

shopt -s nullglob
queue=("$dir"/*.exe "$dir"/*/*.dll)
declare -A seen=()
missing=0
while [ ${#queue[@]} -gt 0 ]; do
  file="${queue[0]}"
  queue=("${queue[@]:1}")
  while IFS= read -r dll; do
    key="${dll,,}"
    [ -n "$key" ] && [ -z "${seen[$key]:-}" ] || continue
    seen[$key]=1
    if [ -n "${available[$key]:-}" ]; then
      cp "${available[$key]}" "$dir/"
      queue+=("$dir/${available[$key]##*/}")
    elif [[ "$key" == api-ms-win-* ]] || [ -f "$system_lib/lib${key%.dll}.a" ]; then
      :
    else
      echo "windows-deploy-dlls: $dll (needed by ${file##*/}) not found" >&2
      missing=1
    fi
  done < <("$mingw-objdump" -p "$file" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr -d '\r')
done
exit "$missing"
