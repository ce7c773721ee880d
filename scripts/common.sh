# Shared by the run and test scripts: where the project is and how to configure a build.
project_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
jobs="${JOBS:-2}"

# The compiler cache serves every clone of the project: paths inside the clone are hashed
# relative to it, and the build folder's own path is left out of the hash.
export CCACHE_BASEDIR="$project_dir"
export CCACHE_NOHASHDIR=1

# configure <build folder> [cmake options...]
configure() {
    local folder="$1"
    shift
    local launcher=()
    if command -v ccache >/dev/null 2>&1; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
    cmake -S "$project_dir" -B "$folder" -G Ninja "${launcher[@]}" "$@" >/dev/null
}
