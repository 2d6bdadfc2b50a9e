# Shared by the scripts: install what is missing from Debian's packages.

# apt_update [sudo] [apt options...] : refreshes the package lists. A mirror
# caught mid-sync fails one list now and then: try again, and in the end go
# on with the lists there are (the version check and the install that follow
# stop if they lack a package). A failed list is reported in one line.
apt_update() {
  local sudo=() attempt log
  [ "${1:-}" = sudo ] && { sudo=(sudo); shift; }
  log=$(mktemp)
  for attempt in 1 2 3; do
    if "${sudo[@]}" apt-get update -q "$@" >"$log" 2>&1; then
      rm -f "$log"
      return 0
    fi
    apt_failed_lists "$attempt" <"$log" >&2
    [ "$attempt" = 3 ] || sleep 15
  done
  rm -f "$log"
}

# apt_failed_lists ATTEMPT < apt-get update's output : one line per failed
# architecture (or one line in all when apt names none).
apt_failed_lists() {
  awk -v attempt="$1" '
    /^(E|W): Failed to fetch/ {
      arch = "?"
      if (match($0, /binary-[a-z0-9]+/)) arch = substr($0, RSTART + 7, RLENGTH - 7)
      reason = $0
      sub(/^(E|W): Failed to fetch [^ ]+ +/, "", reason)
      sub(/ *\[IP:.*$/, "", reason)
      if (!(arch in seen)) { seen[arch] = 1; n++; printf "apt-get update: the %s package index failed (attempt %s of 3): %s\n", arch, attempt, reason }
    }
    END { if (!n) printf "apt-get update failed (attempt %s of 3)\n", attempt }'
}

# policy_versions < `apt-cache policy PKG` : the versions the package lists
# offer, one per line (a version known only from dpkg's status file, an
# installed one that no list carries any more, is left out).
policy_versions() {
  awk '
    /^  Version table:/ { table = 1; next }
    !table { next }
    /^ (\*\*\*|   ) [^ ]+ -?[0-9]+$/ { version = $(NF - 1); next }
    version != "" && /^        +-?[0-9]+ / {
      if ($2 != "/var/lib/dpkg/status" && !(version in seen)) { seen[version] = 1; print version }
    }'
}

# policy_field FIELD < `apt-cache policy PKG` : "Installed" or "Candidate".
policy_field() {
  awk -v field="  $1:" 'index($0, field) == 1 { print $2; exit }'
}

# choose_common_version AMD64_POLICY ARMHF_POLICY : the newest version that
# both architectures' lists offer (the texts are `apt-cache policy` outputs);
# fails when there is none.
choose_common_version() {
  local native armhf version best=""
  native=$(policy_versions <<<"$1")
  armhf=$(policy_versions <<<"$2")
  for version in $native; do
    grep -qxF -- "$version" <<<"$armhf" || continue
    if [ -z "$best" ] || dpkg --compare-versions "$version" gt "$best"; then best=$version; fi
  done
  [ -n "$best" ] || return 1
  echo "$best"
}

# dependency_closure PKG... : the packages and what they depend on (Depends
# and Pre-Depends), recursively; names without architecture.
dependency_closure() {
  [ $# -gt 0 ] || return 0
  apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
    --no-replaces --no-enhances "$@" 2>/dev/null | awk '/^[^ <]/ { sub(/:.*/, ""); print }' | sort -u
}

# multiarch_same PKG... : those of the armhf packages that are Multi-Arch: same.
multiarch_same() {
  [ $# -gt 0 ] || return 0
  apt-cache show --no-all-versions $(printf '%s:armhf ' "$@") 2>/dev/null |
    awk '/^Package:/ { pkg = $2 } /^Multi-Arch: same$/ { print pkg }' | sort -u
}

installed() {  # installed PKG : installed, held or not
  case "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" in
    *" ok installed") return 0 ;;
    *) return 1 ;;
  esac
}

# same_version_pins NATIVE_MISSING ARMHF_MISSING : a Multi-Arch: same package
# that both architectures will hold must be installed at one version in both.
# When one architecture's list lags, the newest candidates differ and apt
# gives up ("held broken packages"). Prints "PKG=VER PKG:armhf=VER" for every
# such package (the missing ones, their dependencies, and those already
# installed), at the newest version both lists offer, and one line on
# standard error for each package whose candidates disagree. Fails naming
# the package and the versions each architecture offers when there is no
# common version. The arguments are space-separated names without arch.
same_version_pins() {
  local native_arch pkg amd64 armhf version failed=0
  native_arch=$(dpkg --print-architecture)
  local -A native_set=()
  for pkg in $(dependency_closure $1); do native_set[$pkg]=1; done
  for pkg in $(multiarch_same $(dependency_closure $(printf '%s:armhf ' $2))); do
    [ -n "${native_set[$pkg]:-}" ] || installed "$pkg:$native_arch" || continue
    amd64=$(apt-cache policy "$pkg:$native_arch")
    armhf=$(apt-cache policy "$pkg:armhf")
    if ! version=$(choose_common_version "$amd64" "$armhf"); then
      echo "No version of $pkg is offered for both architectures:" \
        "$native_arch offers $(policy_versions <<<"$amd64" | paste -sd, -)," \
        "armhf offers $(policy_versions <<<"$armhf" | paste -sd, -)" >&2
      failed=1
      continue
    fi
    local native_candidate armhf_candidate
    native_candidate=$(policy_field Candidate <<<"$amd64")
    armhf_candidate=$(policy_field Candidate <<<"$armhf")
    if [ "$native_candidate" != "$version" ] || [ "$armhf_candidate" != "$version" ] ||
       [ "$(policy_field Installed <<<"$amd64")" != "$version" ]; then
      echo "Pinning $pkg to $version in both architectures" \
        "(candidates: $native_arch $native_candidate, armhf $armhf_candidate)" >&2
    fi
    printf '%s=%s %s:armhf=%s\n' "$pkg" "$version" "$pkg" "$version"
  done
  return $failed
}

# ensure_packages PKG... : installs the packages that are not installed yet
# (PKG:armhf for the board's architecture). With armhf packages to install,
# both architectures' Multi-Arch: same packages are pinned to one version;
# without, only the native lists are refreshed, so a failing armhf list
# cannot stop it.
ensure_packages() {
  # Inside a device root the host's package database is out of sight and
  # nothing can be installed: whoever started it installed what is needed.
  [ "${DEVROOT:-}" = 1 ] && return 0
  local missing=() p
  for p in "$@"; do installed "$p" || missing+=("$p"); done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" = 0 ] || sudo=sudo
  local native=() armhf=()
  for p in "${missing[@]}"; do
    case "$p" in *:armhf) armhf+=("${p%:armhf}") ;; *) native+=("$p") ;; esac
  done
  local update=()
  [ ${#armhf[@]} -gt 0 ] ||
    update=(-o "APT::Architectures=$(dpkg --print-architecture)" -o APT::Get::List-Cleanup=0)
  apt_update $sudo "${update[@]}"
  local install=() pins="" pin
  if [ ${#armhf[@]} -gt 0 ]; then
    pins=$(same_version_pins "${native[*]}" "${armhf[*]}") || {
      echo "Not installing: the two architectures' package lists have no common version (above)." >&2
      return 1
    }
  fi
  # A pinned package is named once, with its version.
  for p in "${missing[@]}"; do
    [[ " $pins " == *" ${p%:armhf}="* || " $pins " == *" $p="* ]] || install+=("$p")
  done
  for pin in $pins; do install+=("$pin"); done
  local command=(apt-get install -y -q --no-install-recommends --allow-downgrades "${install[@]}")
  # A download cut by the mirror gets one more try on fresh lists.
  DEBIAN_FRONTEND=noninteractive $sudo "${command[@]}" && return 0
  apt_update $sudo "${update[@]}"
  DEBIAN_FRONTEND=noninteractive $sudo "${command[@]}"
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
NATIVE_PACKAGES=(g++ cmake ninja-build pkg-config libjson-c-dev libsqlite3-dev libssl-dev libjpeg62-turbo-dev
  libgtest-dev util-linux iproute2 net-tools procps lighttpd libfcgi-dev libfcgi-bin)

# The board build: cross compiler, armhf libraries, and qemu-arm for its tests.
ARMHF_PACKAGES=(g++-arm-linux-gnueabihf qemu-user libc6:armhf libstdc++6:armhf
  libjson-c-dev:armhf libsqlite3-dev:armhf libssl-dev:armhf libgtest-dev:armhf libjpeg62-turbo-dev:armhf libfcgi-dev:armhf)

# What the demo needs besides the native build (also tested by scripts/test).
DEMO_PACKAGES=(socat curl)

# The console's browser test: Debian's chromium, driven from Node.js.
BROWSER_PACKAGES=(chromium nodejs)

# ensure_npm : Node.js and npm. A Node.js package that carries npm itself
# (and conflicts with Debian's npm) is left as it is.
ensure_npm() {
  ensure_packages nodejs
  command -v npm >/dev/null || ensure_packages npm
}

# ensure_browser_packages : chromium, Node.js and npm.
ensure_browser_packages() {
  ensure_packages "${BROWSER_PACKAGES[@]}"
  ensure_npm
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

# install_api_page_modules BUILD_DIR : Swagger UI for the demo's API page,
# exactly as locked in deploy/api-page, into BUILD_DIR/api-page. No install
# script runs (one would report the install to its maker). Inside a device
# root (no network) whoever started it installed them.
install_api_page_modules() {
  [ "${DEVROOT:-}" = 1 ] && return 0
  local dir=$1/api-page
  mkdir -p "$dir"
  cp "$ROOT/deploy/api-page/package.json" "$ROOT/deploy/api-page/package-lock.json" "$dir/"
  (cd "$dir" && npm ci --ignore-scripts --no-audit --no-fund --loglevel=error --cache "$1/npm-cache")
}

# configure_build DIR [cmake options...] : configures DIR unless it already is.
# Where ccache is installed, compiles go through it (several checkouts of
# one machine then share their objects); the run does not need it.
configure_build() {
  local dir=$1; shift
  local launcher=()
  command -v ccache >/dev/null &&
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S "$ROOT" -B "$dir" -G Ninja "${launcher[@]}" "$@" >/dev/null
}
