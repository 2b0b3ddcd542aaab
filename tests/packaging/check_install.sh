#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks it as a user would meet it:
#   check_install.sh BUILD_DIR SCREENS_JSON
# Exit 77 (skipped) when a validator is missing.
set -euo pipefail
build=$1
screens=$2
here=$(cd "$(dirname "$0")" && pwd)
for tool in desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing (tools/setup.sh installs it)"; exit 77; }
done
tmp=$(mktemp -d /tmp/zerkavi-install-XXXXXX)
pid=""
cleanup() { [ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$tmp"; }
trap cleanup EXIT
prefix=$tmp/prefix
fail() { echo "FAIL: $*"; exit 1; }
listing() { (cd "$prefix" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort); }

cmake --install "$build" --prefix "$prefix" >/dev/null
diff <(LC_ALL=C sort "$here/installed_files.txt") <(listing) || fail "installed files differ"

for size in 48 128 256; do
    file "$prefix/share/icons/hicolor/${size}x${size}/apps/zerkavi.png" |
        grep -q "PNG image data, $size x $size" || fail "icon $size"
done
zcat "$prefix/share/man/man1/zerkavi-cli.1.gz" | grep -q '^\.TH ZERKAVI-CLI' || fail "manual page"
zcat "$prefix/share/man/man1/zerkavi-cli.1.gz" | grep -q 'render SLOT' || fail "manual page text"
desktop-file-validate "$prefix/share/applications/org.zerkavi.Zerkavi.desktop" | grep -v ': hint:' &&
    fail "desktop-file-validate"
appstreamcli validate --no-net "$prefix/share/metainfo/org.zerkavi.Zerkavi.metainfo.xml"

# The command-line tool from the PATH of a fresh user: its library goes to the data folder,
# nothing into the current folder.
mkdir -p "$tmp/work" "$tmp/home1" "$tmp/home2"
(cd "$tmp/work" && env -u XDG_DATA_HOME HOME="$tmp/home1" PATH="$prefix/bin:$PATH" \
    zerkavi-cli list --lang en) > "$tmp/list.txt"
[ "$(wc -l < "$tmp/list.txt")" -eq 255 ] || fail "zerkavi-cli list"
sed -n 32p "$tmp/list.txt" | grep -q 'Düyek' || fail "slot 32"
[ -f "$tmp/home1/.local/share/zerkavi/usuller.usl" ] || fail "cli library not in the data folder"

# The window, started by the menu entry's Exec line: library, guides and sound folder in the
# data folder once it runs.
exec_line=$(sed -n 's/^Exec=//p' "$prefix/share/applications/org.zerkavi.Zerkavi.desktop")
cd "$tmp/work"
env -u XDG_DATA_HOME HOME="$tmp/home2" PATH="$prefix/bin:$PATH" \
    QT_QPA_PLATFORM="offscreen:configfile=$screens" $exec_line >/dev/null 2>&1 &
pid=$!
data=$tmp/home2/.local/share/zerkavi
for _ in $(seq 1 300); do
    [ -f "$data/BeniOku" ] && [ -d "$data/zrkv" ] && [ -n "$(ls "$data/zrkv")" ] && break
    kill -0 "$pid" 2>/dev/null || fail "zerkavi ended early"
    sleep 0.1
done
kill "$pid"
wait "$pid" 2>/dev/null || true
pid=""
for f in usuller.usl ReadMe.doc BeniOku zrkv; do
    [ -e "$data/$f" ] || fail "$f not in the data folder"
done
cmp -s "$data/BeniOku" "$prefix/share/doc/zerkavi/BeniOku" || fail "guide differs"
[ -z "$(ls -A "$tmp/work")" ] || fail "files written into the current folder"
diff <(LC_ALL=C sort "$here/installed_files.txt") <(listing) || fail "files written into the prefix"
echo "installed tree complete, valid and writing only into the data folder"
