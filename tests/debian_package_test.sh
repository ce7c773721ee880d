#!/usr/bin/env bash
# debian_package_test.sh <build folder> <version> <AppStream id>
# Makes the Debian package with cpack and checks its name, control fields and contents; lintian
# finds nothing in it and appstreamcli accepts its AppStream metadata.
set -euo pipefail
build="$(cd "$1" && pwd)" version="$2" appstream_id="$3"
work="$build/debian package test"
rm -rf "$work" && mkdir -p "$work"
fail() { echo "FAIL: $*"; exit 1; }

cpack -G DEB -B "$work" --config "$build/CPackConfig.cmake" >/dev/null
deb="$work/calvotrimex_${version}_amd64.deb"
[ -f "$deb" ] || fail "no $deb: $(ls "$work")"

[ "$(dpkg-deb -f "$deb" Package Architecture Version | tr '\n' ' ')" = "Package: calvotrimex Architecture: amd64 Version: $version " ] ||
    fail "control: $(dpkg-deb -f "$deb")"
depends="$(dpkg-deb -f "$deb" Depends)"
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6uitools6 libqt6svg6 libutf8proc2 libsndfile1 libasound2; do
    grep -q "\(^\|, \)$library\( \|,\|$\)" <<<"$depends" || fail "Depends lacks $library: $depends"
done

app=./usr/lib/calvotrimex/Calvotrimex.app/Contents
expected="./usr/bin/calvotrimex -> ../lib/calvotrimex/Calvotrimex.app/Contents/bin/calvotrimex
$app/Resources/AppIcon.svg
$app/Resources/Calvotrimex.ui
$app/Resources/calvotrimex.svg
$app/Resources/MenloBold 16x32.font
$app/Resources/MenloRegular 16x32.font
$app/Resources/sysbeep.aif
$app/bin/calvotrimex
./usr/share/applications/calvotrimex.desktop
./usr/share/doc/calvotrimex/changelog.gz
./usr/share/doc/calvotrimex/copyright
./usr/share/icons/hicolor/scalable/apps/calvotrimex.svg
./usr/share/man/man1/calvotrimex.1.gz
./usr/share/metainfo/$appstream_id.metainfo.xml"
files="$(dpkg-deb -c "$deb" | grep -v '/$' | sed 's/^\([^ ]* *\)\{5\}//' | sort)"
[ "$files" = "$(sort <<<"$expected")" ] || fail "contents: $files"

dpkg-deb -x "$deb" "$work/root"
entry="$work/root/usr/share/applications/calvotrimex.desktop"
grep -qx 'Exec="/usr/bin/calvotrimex"' "$entry" && grep -qx 'Icon=calvotrimex' "$entry" || fail "$(cat "$entry")"
zcat "$work/root/usr/share/doc/calvotrimex/changelog.gz" | head -1 | grep -q "^calvotrimex ($version) " ||
    fail "changelog: $(zcat "$work/root/usr/share/doc/calvotrimex/changelog.gz" | head -1)"

tags="$(lintian --fail-on error,warning "$deb" 2>"$work/lintian errors")" || fail "lintian: $tags $(cat "$work/lintian errors")"
metainfo="$work/root/usr/share/metainfo/$appstream_id.metainfo.xml"
validation="$(appstreamcli validate --no-net --pedantic "$metainfo" 2>&1)" || fail "appstreamcli: $validation"
echo "$(basename "$deb"): Depends: $depends; lintian: ${tags:-nothing}; appstreamcli: $validation"
