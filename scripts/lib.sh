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

# ensure_armhf_packages PKG... : as ensure_packages, after enabling armhf.
ensure_armhf_packages() {
  local sudo=""
  [ "$(id -u)" = 0 ] || sudo=sudo
  if ! dpkg --print-foreign-architectures | grep -qx armhf; then
    $sudo dpkg --add-architecture armhf
  fi
  ensure_packages "$@"
}

# What building and testing the native program needs.
NATIVE_PACKAGES=(g++ cmake ninja-build pkg-config libjson-c-dev libsqlite3-dev libssl-dev
  libgtest-dev util-linux iproute2 net-tools procps lighttpd)

# The board build: cross compiler, armhf libraries, and qemu-arm for its tests.
ARMHF_PACKAGES=(g++-arm-linux-gnueabihf qemu-user libc6:armhf libstdc++6:armhf
  libjson-c-dev:armhf libsqlite3-dev:armhf libssl-dev:armhf libgtest-dev:armhf)

# configure_build DIR [cmake options...] : configures DIR unless it already is.
configure_build() {
  local dir=$1; shift
  cmake -S "$ROOT" -B "$dir" -G Ninja "$@" >/dev/null
}
