#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the editor need.
# Quick when everything is already there: only missing packages are fetched.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev libgl-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  nlohmann-json3-dev rapidjson-dev libcli11-dev libicu-dev zlib1g-dev
  clang libclang-rt-14-dev lld
  fonts-noto-cjk
  qt6-translations-l10n
  xvfb xauth hyperfine strace xxd
  desktop-file-utils appstream groff-base dpkg-dev xdelta3
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
