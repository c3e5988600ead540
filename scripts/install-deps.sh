#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the program and the tests need,
# only those that are missing. Runs apt-get as root or through sudo.
set -euo pipefail

PACKAGES=(
  cmake ninja-build ccache g++ pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  zlib1g-dev libfreetype-dev fonts-dejavu-core fonts-liberation
  libfreeimage-dev libsdl2-dev uuid-dev libpugixml-dev libcurl4-openssl-dev
  liblua5.1-0-dev libmariadb-dev mariadb-server-core mariadb-client-core
  libosmesa6-dev libglu1-mesa-dev libngspice0-dev libpolyclipping-dev
  xvfb xdotool imagemagick
)
# Extra packages for a preset: "fuzz" needs clang, "bench" needs cairo.
case "${1:-}" in
  fuzz)  PACKAGES+=(clang libclang-rt-14-dev) ;;
  bench) PACKAGES+=(libcairo2-dev) ;;
esac

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

# Another apt-get (an unattended upgrade, a second build) may hold apt's
# locks: wait for it up to PL3_APT_LOCK_WAIT seconds instead of giving up.
# apt waits for the dpkg lock itself; a lock it does not wait for is retried.
LOCK_WAIT=${PL3_APT_LOCK_WAIT:-600}
apt_get() {
  local deadline=$((SECONDS + LOCK_WAIT)) log status
  log=$(mktemp)
  while :; do
    status=0
    $SUDO env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout="$LOCK_WAIT" "$@" 2> >(tee "$log" >&2) || status=$?
    wait  # for tee
    if [ $status -eq 0 ] || ! grep -qiE "could not get lock|unable to acquire|unable to lock" "$log" ||
      [ $SECONDS -ge $deadline ]; then
      rm -f "$log"
      return $status
    fi
    echo "Another apt-get holds its lock; trying again in 5 s (up to ${LOCK_WAIT} s in all)"
    sleep 5
  done
}
apt_get update -qq
apt_get install -y -qq --no-install-recommends "${missing[@]}"
