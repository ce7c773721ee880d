#!/usr/bin/env bash
# install_test.sh <build folder> <source folder>
# Installs the build to a prefix with a blank in its path, builds a program on vxtools outside
# the source tree against that prefix alone (CMake package, then pkg-config) and runs it
# offscreen to its end. Then stages an install with DESTDIR and checks that the link, the
# desktop entry and both packages name the final prefix, the manual page, the AppStream
# metadata and the licences are there, and nothing names the staging folder.
set -euo pipefail
build="$(cd "$1" && pwd)" source="$(cd "$2" && pwd)"
work="$build/install test"
rm -rf "$work" && mkdir -p "$work"
fail() { echo "FAIL: $*"; exit 1; }

prefix="$work/pre fix"
cmake --install "$build" --prefix "$prefix" >/dev/null
cp -r "$source/tests/installed" "$work/program"
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S "$work/program" -B "$work/program build" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" "${launcher[@]}" >/dev/null
cmake --build "$work/program build" >/dev/null

# The same object linked with what vxtools.pc gives, in the same bundle.
bin="$work/program build/Installed.app/Contents/bin"
object="$(find "$work/program build" -name 'installed.cpp.o')"
libs="$(PKG_CONFIG_PATH="$prefix/lib/pkgconfig" pkg-config --libs vxtools)"
eval "c++ \"\$object\" -o \"\$bin/installed-pc\" $libs"

for program in installed installed-pc; do
    log="$("$bin/$program" -platform offscreen --quit-when-done)" || fail "$program exited with $?"
    grep -q '^t_QuitProgram: ' <<<"$log" && grep -q '^applicationWillTerminate: ' <<<"$log" ||
        fail "$program did not run to its end: $log"
done

stage="$work/stage" final="/opt/calvo trimex"
DESTDIR="$stage" cmake --install "$build" --prefix "$final" >/dev/null
root="$stage$final"
[ ! -e "$final" ] || fail "the staged install wrote to $final"
[ "$(readlink -f "$root/bin/calvotrimex")" = "$root/lib/calvotrimex/Calvotrimex.app/Contents/bin/calvotrimex" ] ||
    fail "bin/calvotrimex does not lead to the bundle"
grep -qx "Exec=\"$final/bin/calvotrimex\"" "$root/share/applications/calvotrimex.desktop" ||
    fail "the desktop entry starts $(grep Exec= "$root/share/applications/calvotrimex.desktop")"
for file in share/man/man1/calvotrimex.1.gz share/metainfo/*.metainfo.xml share/doc/calvotrimex/copyright \
    share/doc/vxtools/LICENSE; do
    compgen -G "$root/$file" >/dev/null || fail "no $file"
done
grep -qx 'prefix=/opt/calvo\\ trimex' "$root/lib/pkgconfig/vxtools.pc" || fail "vxtools.pc: $(head -1 "$root/lib/pkgconfig/vxtools.pc")"
! grep -rlF "$stage" "$stage" || fail "these files name the staging folder"
echo "installed, built against and ran; staged install names $final"
