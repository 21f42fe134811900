#!/usr/bin/env bash
# Shared set-up of ./run.sh and ./test.sh: installs the Debian packages that are missing,
# then configures and builds into build/. Quick when nothing changed.
#   scripts/setup.sh                  builds everything: programs, tests, benchmarks, fuzz replay
#   scripts/setup.sh TARGET...        builds only these targets and what they link
set -euo pipefail

PACKAGES=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libgl-dev
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    fonts-dejavu-core
    desktop-file-utils
)

missing_packages() {
    local pkg
    for pkg in "${PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
            echo "$pkg"
        fi
    done
}

install_missing() {
    local missing
    mapfile -t missing < <(missing_packages)
    [ "${#missing[@]}" -eq 0 ] && return 0
    echo "Installing missing packages: ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null 2>&1; then
            sudo=(sudo)
        else
            echo "Please run as root: apt-get update && apt-get install -y ${missing[*]}" >&2
            exit 1
        fi
    fi
    "${sudo[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# Builds the targets given, or everything when none is given.
build() {
    local root build_dir
    root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
    build_dir="$root/build"
    if [ ! -f "$build_dir/build.ninja" ]; then
        cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE="${VELTRIX_BUILD_TYPE:-RelWithDebInfo}" \
            ${VELTRIX_CMAKE_ARGS:-}
    fi
    cmake --build "$build_dir" -j "$(nproc)" ${1+--target "$@"}
}

install_missing
build "$@"
