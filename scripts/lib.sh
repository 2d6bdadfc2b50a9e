# Shared by the scripts: install what is missing from Debian's packages.

# ensure_packages PKG... : installs the packages that are not installed yet.
ensure_packages() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" = 0 ] || sudo=sudo
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# What building and testing the native program needs.
NATIVE_PACKAGES=(g++ cmake ninja-build pkg-config libjson-c-dev libsqlite3-dev libssl-dev
  libgtest-dev util-linux iproute2 procps lighttpd)

# configure_build DIR [cmake options...] : configures DIR unless it already is.
configure_build() {
  local dir=$1; shift
  cmake -S "$ROOT" -B "$dir" -G Ninja "$@" >/dev/null
}
