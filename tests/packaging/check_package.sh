#!/usr/bin/env bash
# Builds the Debian package and checks its control fields and file list:
#   check_package.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
here=$(cd "$(dirname "$0")" && pwd)
command -v dpkg-shlibdeps >/dev/null || { echo "SKIP: dpkg-dev is missing"; exit 77; }
tmp=$(mktemp -d /tmp/zerkavi-package-XXXXXX)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$tmp" >/dev/null
deb=$tmp/zerkavi_${version}_amd64.deb
[ -f "$deb" ] || fail "no $deb"
dpkg-deb -I "$deb"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = zerkavi ] || fail Package
[ "$(field Version)" = "$version" ] || fail Version
[ "$(field Architecture)" = amd64 ] || fail Architecture
[ "$(field Section)" = sound ] || fail Section
[[ "$(field Maintainer)" =~ ^[^\<]+\ \<[^@]+@[^\>]+\>$ ]] || fail Maintainer
depends=$(field Depends)
for p in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 \
         libqt6multimedia6; do
    [[ ", $depends" == *", $p ("* ]] || fail "Depends lacks $p: $depends"
done

diff <(sed 's|^|usr/|' "$here/installed_files.txt" | LC_ALL=C sort) \
     <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./||' | LC_ALL=C sort) ||
    fail "package file list"
dpkg-deb -x "$deb" "$tmp/root"
for exe in zerkavi zerkavi-cli; do
    file "$tmp/root/usr/bin/$exe" | grep -q ', stripped' || fail "$exe not stripped"
done
echo "package $(basename "$deb") checked"
