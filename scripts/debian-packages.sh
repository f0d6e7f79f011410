# Sourced by the Windows build scripts: installing what is missing and
# fetching a Debian source package without touching the system's apt setup.

# Installs the named packages that are missing (as root), or says how.
zb_install_missing() {
  local p missing=()
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages. Run this, then start again:" >&2
    echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}" >&2
  DEBIAN_FRONTEND=noninteractive apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >&2
}

# zb_unpack_source PACKAGE VERSION DIR: unpacks the Debian source of that exact
# version into DIR, downloading into the current folder once. The deb-src
# entry and the package lists live in ./apt, never in the system's config.
zb_unpack_source() {
  local package="$1" version="$2" src_dir="$3"
  [ -f "$src_dir/.unpacked" ] && return 0
  local dsc="${package}_${version#*:}.dsc"
  if [ ! -f "$dsc" ]; then
    . /etc/os-release
    local suite="${VERSION_CODENAME:?no VERSION_CODENAME in /etc/os-release}"
    local apt_dir="$PWD/apt"
    mkdir -p "$apt_dir/sources.list.d" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
    cat >"$apt_dir/sources.list.d/zubrica98-src.sources" <<SOURCES
Types: deb-src
URIs: ${ZB_DEBIAN_MIRROR:-http://deb.debian.org/debian}
Suites: $suite $suite-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: ${ZB_DEBIAN_SECURITY_MIRROR:-http://deb.debian.org/debian-security}
Suites: $suite-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
    : >"$apt_dir/sources.list"
    local apt_opts=(-o "Dir::Etc::SourceList=$apt_dir/sources.list"
                    -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
                    -o "Dir::State::Lists=$apt_dir/lists"
                    -o "Dir::Cache=$apt_dir/cache"
                    -o "APT::Sandbox::User=$(id -un)")
    echo "Fetching $package $version source" >&2
    apt-get "${apt_opts[@]}" update -qq >&2
    apt-get "${apt_opts[@]}" source --download-only "$package=$version" >&2
  fi
  rm -rf "$src_dir"
  dpkg-source --no-check -x "$dsc" "$src_dir" >&2
  touch "$src_dir/.unpacked"
}
