#!/bin/bash
# The package installer's version choice, fed with recorded `apt-cache
# policy` outputs: when the two architectures' lists disagree, both get the
# newest version that both offer, or the run stops naming the package.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
. "$ROOT/scripts/lib.sh"

failures=0
check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" == "$3" ]; then echo "ok   $1"; else
    echo "FAIL $1"; echo "  expected: $2"; echo "  actual:   $3"; failures=$((failures + 1))
  fi
}

# libssl-dev as a current amd64 list shows it: security ahead of the release.
AMD64_AHEAD='libssl-dev:
  Installed: (none)
  Candidate: 3.0.22-1~deb12u1
  Version table:
     3.0.22-1~deb12u1 500
        500 http://deb.debian.org/debian-security bookworm-security/main amd64 Packages
     3.0.20-1~deb12u1 500
        500 http://deb.debian.org/debian bookworm/main amd64 Packages'
# The armhf list of a mirror caught mid-sync: the security index is the older one.
ARMHF_LAGGING='libssl-dev:armhf:
  Installed: (none)
  Candidate: 3.0.20-1~deb12u1
  Version table:
     3.0.20-1~deb12u1 500
        500 http://deb.debian.org/debian bookworm/main armhf Packages
     3.0.17-1~deb12u1 500
        500 http://deb.debian.org/debian bookworm-updates/main armhf Packages'
ARMHF_CURRENT='libssl-dev:armhf:
  Installed: (none)
  Candidate: 3.0.22-1~deb12u1
  Version table:
     3.0.22-1~deb12u1 500
        500 http://deb.debian.org/debian-security bookworm-security/main armhf Packages
     3.0.20-1~deb12u1 500
        500 http://deb.debian.org/debian bookworm/main armhf Packages'
AMD64_ONLY_NEW='libssl-dev:
  Installed: (none)
  Candidate: 3.0.22-1~deb12u1
  Version table:
     3.0.22-1~deb12u1 500
        500 http://deb.debian.org/debian-security bookworm-security/main amd64 Packages'
# Installed at a version that no list carries any more (dpkg's status only).
AMD64_STALE='linux-libc-dev:
  Installed: 6.1.180-1
  Candidate: 6.1.194-1
  Version table:
     6.1.194-1 500
        500 http://deb.debian.org/debian-security bookworm-security/main amd64 Packages
 *** 6.1.180-1 100
        100 /var/lib/dpkg/status
     6.1.176-1 500
        500 http://deb.debian.org/debian bookworm/main amd64 Packages'
ARMHF_STALE='linux-libc-dev:armhf:
  Installed: (none)
  Candidate: 6.1.176-1
  Version table:
     6.1.180-1 100
        100 /var/lib/dpkg/status
     6.1.176-1 500
        500 http://deb.debian.org/debian bookworm/main armhf Packages'

check "listed versions, status-only ones left out" "6.1.194-1,6.1.176-1" \
  "$(policy_versions <<<"$AMD64_STALE" | paste -sd, -)"
check "installed and candidate fields" "6.1.180-1 6.1.194-1" \
  "$(policy_field Installed <<<"$AMD64_STALE") $(policy_field Candidate <<<"$AMD64_STALE")"
check "equal candidates" "3.0.22-1~deb12u1" "$(choose_common_version "$AMD64_AHEAD" "$ARMHF_CURRENT")"
check "amd64 ahead of armhf: the common older version" "3.0.20-1~deb12u1" \
  "$(choose_common_version "$AMD64_AHEAD" "$ARMHF_LAGGING")"
check "no common version fails" "failed" \
  "$(choose_common_version "$AMD64_ONLY_NEW" "$ARMHF_LAGGING" || echo failed)"
check "an installed version no list offers is not chosen" "6.1.176-1" \
  "$(choose_common_version "$AMD64_STALE" "$ARMHF_STALE")"

# The whole pin selection with apt's queries answered from the recordings:
# libssl-dev is wanted in both architectures; its libssl3 is installed for
# amd64 only; linux-libc-dev is installed (at a stale version) for amd64.
apt-cache() {
  case "$1 ${*: -1}" in
    "depends libssl-dev:armhf") printf 'libssl-dev:armhf\n  Depends: libssl3:armhf\nlibssl3:armhf\n<libc-dev:armhf>\n' ;;
    "depends libssl-dev") printf 'libssl-dev\n  Depends: libssl3\nlibssl3\n' ;;
    "depends "*) printf '%s\n' "${@:9}" ;;
    "show "*) for p in "${@:3}"; do printf 'Package: %s\nMulti-Arch: same\n\n' "${p%:armhf}"; done ;;
    "policy libssl-dev:amd64" | "policy libssl3:amd64") echo "$AMD64_AHEAD" ;;
    "policy libssl-dev:armhf" | "policy libssl3:armhf") echo "$ARMHF_LAGGING" ;;
    "policy linux-libc-dev:amd64") echo "$AMD64_STALE" ;;
    "policy linux-libc-dev:armhf") echo "$ARMHF_STALE" ;;
    "policy zlib1g:amd64") echo "$AMD64_ONLY_NEW" ;;
    "policy zlib1g:armhf") echo "$ARMHF_LAGGING" ;;
  esac
}
dpkg() { [ "$1" = --print-architecture ] && echo amd64 || command dpkg "$@"; }
dpkg-query() {
  case "${*: -1}" in
    libssl3:amd64 | linux-libc-dev:amd64 | zlib1g:amd64) echo "install ok installed" ;;
    held:amd64) echo "hold ok installed" ;;
    *) echo "unknown ok not-installed" ;;
  esac
}

pins=$(same_version_pins "libssl-dev" "libssl-dev" 2>/dev/null)
check "pins: the wanted package and its installed dependency, both architectures" \
  "libssl-dev=3.0.20-1~deb12u1 libssl-dev:armhf=3.0.20-1~deb12u1 libssl3=3.0.20-1~deb12u1 libssl3:armhf=3.0.20-1~deb12u1" \
  "$(echo $pins)"
check "one line per pinned package, with both candidates" \
  "Pinning libssl-dev to 3.0.20-1~deb12u1 in both architectures (candidates: amd64 3.0.22-1~deb12u1, armhf 3.0.20-1~deb12u1)" \
  "$(same_version_pins "libssl-dev" "libssl-dev" 2>&1 >/dev/null | head -1)"
pins=$(same_version_pins "" "linux-libc-dev" 2>/dev/null)
check "an installed amd64 copy is taken to the common version" \
  "linux-libc-dev=6.1.176-1 linux-libc-dev:armhf=6.1.176-1" "$(echo $pins)"
check "a package only armhf will hold is not pinned" "libssl3=3.0.20-1~deb12u1 libssl3:armhf=3.0.20-1~deb12u1" \
  "$(echo $(same_version_pins "" "libssl-dev" 2>/dev/null))"
same_version_pins "" "zlib1g" >/dev/null 2>&1
check "no common version: the run stops" "1" "$?"
check "and names the package with each architecture's versions" \
  "No version of zlib1g is offered for both architectures: amd64 offers 3.0.22-1~deb12u1, armhf offers 3.0.20-1~deb12u1,3.0.17-1~deb12u1" \
  "$(same_version_pins "" "zlib1g" 2>&1 >/dev/null)"
check "a held package counts as installed" "yes" "$(installed held:amd64 && echo yes)"
check "a missing package does not" "no" "$(installed other:amd64 || echo no)"

check "a failed list is one line" \
  "apt-get update: the armhf package index failed (attempt 2 of 3): File has unexpected size (1234 != 5678). Mirror sync in progress?" \
  "$(printf '%s\n' 'Get:1 http://deb.debian.org/debian bookworm InRelease' \
     'E: Failed to fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-armhf/Packages.xz  File has unexpected size (1234 != 5678). Mirror sync in progress? [IP: 1.2.3.4 80]' \
     '   Hashes of expected file:' \
     'E: Some index files failed to download. They have been ignored, or old ones used instead.' |
     apt_failed_lists 2)"

[ "$failures" = 0 ] && echo "all passed" || { echo "$failures failed"; exit 1; }
