# Shared by the scripts: install what is missing from Debian's packages.

# apt_update [sudo] : refreshes the package lists. A mirror caught mid-sync
# fails one list now and then: try again, and in the end go on with the lists
# there are (the install that follows fails if they lack a package).
apt_update() {
  local attempt
  for attempt in 1 2 3; do
    "$@" apt-get update -q && return 0
    echo "apt-get update failed (attempt $attempt of 3)" >&2
    [ "$attempt" = 3 ] || sleep 15
  done
}

# ensure_packages PKG... : installs the packages that are not installed yet.
ensure_packages() {
  # Inside a device root the host's package database is out of sight and
  # nothing can be installed: whoever started it installed what is needed.
  [ "${DEVROOT:-}" = 1 ] && return 0
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" = 0 ] || sudo=sudo
  apt_update $sudo
  local install=(apt-get install -y -q --no-install-recommends "${missing[@]}")
  # A download cut by the mirror gets one more try on fresh lists.
  DEBIAN_FRONTEND=noninteractive $sudo "${install[@]}" && return 0
  apt_update $sudo
  DEBIAN_FRONTEND=noninteractive $sudo "${install[@]}"
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

# What the demo needs besides the native build (also tested by scripts/test).
DEMO_PACKAGES=(socat curl)

# The console's browser test: Debian's chromium, driven from Node.js.
BROWSER_PACKAGES=(chromium nodejs)

# ensure_browser_packages : chromium, Node.js and npm. A Node.js package that
# carries npm itself (and conflicts with Debian's npm) is left as it is.
ensure_browser_packages() {
  ensure_packages "${BROWSER_PACKAGES[@]}"
  command -v npm >/dev/null || ensure_packages npm
}

# install_console_test_modules BUILD_DIR : the browser test's npm packages,
# exactly as locked in tests/console, into BUILD_DIR/console-test (npm's cache
# stays in the build tree too).
install_console_test_modules() {
  local dir=$1/console-test
  mkdir -p "$dir"
  cp "$ROOT/tests/console/package.json" "$ROOT/tests/console/package-lock.json" "$dir/"
  (cd "$dir" && npm ci --no-audit --no-fund --loglevel=error --cache "$1/npm-cache")
}

# configure_build DIR [cmake options...] : configures DIR unless it already is.
configure_build() {
  local dir=$1; shift
  cmake -S "$ROOT" -B "$dir" -G Ninja "$@" >/dev/null
}
