#!/usr/bin/env bash
# Installs what the build and the tests need from Debian's packages; installs
# only what is missing, so running it again is cheap.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache clang libclang-rt-14-dev
  wine64 wine64-tools libwine-dev xvfb xdotool x11-apps imagemagick
  libboost-all-dev libfmt-dev libfreetype-dev libharfbuzz-dev libpng-dev
  libjpeg-dev liblcms2-dev zlib1g-dev libagg-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libstb-dev libjpeg-turbo-progs libpixman-1-dev liblitehtml-dev
  fonts-dejavu-core fonts-liberation2
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  run_as_root=()
else
  run_as_root=(sudo)
fi
"${run_as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${run_as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
