#!/usr/bin/env bash
# check-includes.sh: checks the includes of src/ against the layers of docs/architecture.md.
# Its two tables, rows of the form  | `folder` | `folder`, `folder/header.h`, ... | ... |,
# say what each folder may include besides its own headers and vxtools.h: a folder (all of
# its headers) or one header. Every #include of a project header that they do not allow is
# named with its file and line, and the check fails.
set -euo pipefail
export LC_ALL=C
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

mapfile -t sources < <(find src -type f \( -name '*.h' -o -name '*.cpp' \) | sort)
awk -v doc=docs/architecture.md '
    BEGIN {
        while ((getline line < doc) > 0) {
            if (line !~ /^\| *`[a-z_]+` *\|/) continue
            split(line, cell, "|")
            folder = cell[2]
            gsub(/[` ]/, "", folder)
            known[folder] = 1
            list = cell[3]
            while (match(list, /`[^`]+`/)) {
                allowed[folder, substr(list, RSTART + 1, RLENGTH - 2)] = 1
                list = substr(list, RSTART + RLENGTH)
            }
        }
        if (length(known) == 0) { print doc ": no table of the layers found"; broken = 1; exit }
    }
    FNR == 1 {
        folder = FILENAME
        sub(/^src\//, "", folder)
        folder = index(folder, "/") ? substr(folder, 1, index(folder, "/") - 1) : ""
        unknown = folder != "" && !(folder in known)
        if (unknown) {
            print FILENAME ": the folder src/" folder " has no row in " doc
            bad++
        }
    }
    !unknown && /^[ \t]*#[ \t]*include[ \t]*["<]/ {
        header = $0
        sub(/^[ \t]*#[ \t]*include[ \t]*["<]/, "", header)
        sub(/[">].*/, "", header)
        while (header ~ /^\.\.?\//) header = substr(header, index(header, "/") + 1)
        if (!index(header, "/")) next
        top = substr(header, 1, index(header, "/") - 1)
        if (!(top in known) || top == folder || (folder, top) in allowed || (folder, header) in allowed) next
        printf "%s:%d: %s may not include \"%s\" (see %s)\n", FILENAME, FNR, folder == "" ? "src" : folder, header, doc
        bad++
    }
    END { exit broken || bad > 0 }
    ' "${sources[@]}"
