#!/usr/bin/env bash
# check-packages.sh <build folder> [package list]
# Checks that every file from the system a build used belongs to a Debian package that the
# install step asks for (scripts/debian-packages.txt unless another list is given), to one of
# their dependencies, or to Debian's essential and required base. The files: the headers the
# compiler read (ninja's dependency log), the CMake packages CMake loaded (the *_DIR entries
# of its cache), the libraries on the link lines and those the built programs load.
set -euo pipefail
export LC_ALL=C
build="$(cd "$1" && pwd)"
list="${2:-$(dirname "${BASH_SOURCE[0]}")/debian-packages.txt}"

allowed="$(mktemp)" used="$(mktemp)" owners="$(mktemp)"
trap 'rm -f "$allowed" "$used" "$owners"' EXIT

# The packages allowed: the list, the base, and everything they depend on.
base="$(dpkg-query -W -f='${Package} ${Essential} ${Priority}\n' | awk '$2 == "yes" || $3 == "required" { print $1 }')"
grep -v '^\s*\(#\|$\)' "$list" | cat - <(echo "$base") | xargs apt-cache depends --recurse --no-recommends \
    --no-suggests --no-conflicts --no-breaks --no-replaces --no-enhances 2>/dev/null |
    sed -n 's/^<\?\([^ <>:]*\).*/\1/p' | sort -u > "$allowed"

# The files used.
{
    ninja -C "$build" -t deps | sed -n 's/^ \+//p'
    sed -n 's/^[A-Za-z0-9_]*_DIR:PATH=//p' "$build/CMakeCache.txt" |
        while read -r dir; do
            if compgen -G "$dir/*[Cc]onfig.cmake" >/dev/null; then find "$dir" -maxdepth 1 -name '*.cmake'; fi
        done
    ninja -C "$build" -t commands | tr ' ' '\n' | grep -E '^/.*\.(so|a)(\.[0-9.]+)?$'
    find "$build" -type f -perm -u+x -exec sh -c 'ldd "$1" 2>/dev/null' sh {} \; | awk '$3 ~ /^\// { print $3 }'
} | grep -E '^/(usr|lib|lib64|bin|sbin)/' | sort -u > "$used"

# Their packages: one dpkg query for all of them; a file it does not know is looked up
# again under its other name on a merged /usr and under the name its links resolve to.
lookup() { xargs -r -d '\n' dpkg-query -S 2>/dev/null | grep -v '^diversion' || true; }
other_names() {
    while read -r file; do
        case "$file" in /usr/*) echo "${file#/usr}" ;; *) echo "/usr$file" ;; esac
        readlink -f "$file"
    done
}
lookup < "$used" > "$owners"
sed 's/^[^/]*: //' "$owners" | sort -u | comm -23 "$used" - | other_names | lookup >> "$owners"

declare -A owned=()
while read -r file; do owned["$file"]=1; done < <(sed 's/^[^/]*: //' "$owners")
unknown="$(sed 's/^[^/]*: //' "$owners" | sort -u | comm -23 "$used" - | while read -r file; do
    known=""
    for name in $(echo "$file" | other_names); do [ -n "${owned[$name]:-}" ] && known=1; done
    [ -n "$known" ] || echo "  $file"
done)"
foreign="$(sed 's/: \//\t\//' "$owners" | awk -F'\t' '{ n = split($1, p, ", ");
        for (i = 1; i <= n; i++) { sub(/:.*/, "", p[i]); print p[i] "\t" $2 } }' |
    sort -t$'\t' -k1,1 | join -t$'\t' -v1 - "$allowed" | sort -u -t$'\t' -k1,1 |
    awk -F'\t' '{ print "  " $1 " (" $2 ")" }')"

status=0
if [ -n "$foreign" ]; then
    echo "The build used packages that $list does not bring:"
    echo "$foreign"
    status=1
fi
if [ -n "$unknown" ]; then
    echo "The build used files that no Debian package holds:"
    echo "$unknown"
    status=1
fi
[ $status -eq 0 ] && echo "All $(wc -l < "$used") files from the system the build used come from the listed packages."
exit $status
