#!/usr/bin/env bash
# Builds the Debian package from the build folder, unpacks it into a scratch
# root with dpkg -x and runs the CLI from there.
# package_test.sh BUILD_DIR VERSION GUI(ON|OFF); exit 77 (skipped) without the tools.
set -euo pipefail
build=$1 version=$2 gui=$3
for tool in cpack dpkg dpkg-deb dpkg-shlibdeps; do
  command -v "$tool" > /dev/null || { echo "SKIP: $tool is not installed (tools/setup.sh installs it)"; exit 77; }
done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" > "$scratch/cpack.log" ||
  fail "cpack: $(cat "$scratch/cpack.log")"
deb=$scratch/out/starfall_${version}-1_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $(basename "$deb"): $(ls "$scratch/out")"

[ "$(dpkg-deb -f "$deb" Package)" = starfall ] || fail "Package: $(dpkg-deb -f "$deb" Package)"
[ "$(dpkg-deb -f "$deb" Version)" = "$version-1" ] || fail "Version: $(dpkg-deb -f "$deb" Version)"
depends=$(dpkg-deb -f "$deb" Depends)
grep -q 'libc6 (>=' <<< "$depends" || fail "Depends not worked out from the libraries: $depends"
if [ "$gui" = ON ]; then
  grep -q 'libqt6widgets6' <<< "$depends" || fail "Depends lacks Qt: $depends"
fi

root=$scratch/root
dpkg -x "$deb" "$root"
export ASAN_OPTIONS=detect_leaks=0 XDG_CONFIG_HOME=$scratch/config
cli=$root/usr/bin/starfall-cli
[ "$("$cli" --version)" = "starfall-cli $version" ] || fail "--version: $("$cli" --version)"
mkdir "$scratch/demo"
"$cli" make-demo "$scratch/demo" > /dev/null
for file in demo.img charlist.ini unitlist.ini weapon.ini; do
  [ -s "$scratch/demo/$file" ] || fail "make-demo wrote no $file"
done
"$cli" --dir "$scratch/demo" units > /dev/null || fail "the unpacked CLI cannot read the demo lists"
echo "$(basename "$deb"): $depends"
