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
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
