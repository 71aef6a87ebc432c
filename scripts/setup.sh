#!/usr/bin/env bash
# Installs what Nelmora needs on Debian 12, builds it, and then runs it or its checks.
#   scripts/setup.sh run       install, build, start the program
#   scripts/setup.sh test      install, build, run every test (the dab kernels' oracle tests
#                              also in a build without x86 vector code), then each fuzz target for 12 s
#   scripts/setup.sh sanitize  the test suite built with address and undefined-behaviour sanitizers
#   scripts/setup.sh fuzz [S]  every fuzz target for S seconds (default 60)
#   scripts/setup.sh bench     the benchmarks
# Works as root, or as a normal user with sudo (used only for apt-get).
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:-test}

packages=(build-essential cmake ninja-build ccache pkg-config
          qt6-base-dev qt6-image-formats-plugins libgl-dev libgtest-dev libgmock-dev libbenchmark-dev
          clang libclang-rt-14-dev fonts-ipafont-mincho fonts-ipafont-gothic xvfb
          qt6-translations-l10n desktop-file-utils appstream)

install_packages() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
}

jobs=$(nproc)

configure_and_build() {  # build-dir, extra cmake arguments...
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja "$@"
    cmake --build "$dir" -j "$jobs"
}

# Builds only the fuzz targets (with clang, instrumented) and runs each for
# the given seconds on its seed corpus; a finding stops the script.
fuzz_all() {  # seconds
    local seconds=$1
    CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNELMORA_BUILD_FUZZ=ON \
        -DNELMORA_BUILD_GUI=OFF -DNELMORA_BUILD_TESTS=OFF -DNELMORA_BUILD_BENCH=OFF
    cmake --build build-fuzz -j "$jobs" --target fuzz_all
    for target in build-fuzz/bin/fuzz_*; do
        name=$(basename "$target")
        mkdir -p "build-fuzz/corpus/$name"
        # A target may have a dictionary of its input's words, fuzz/<name>.dict.
        dictionary=()
        [ -f "fuzz/${name#fuzz_}.dict" ] && dictionary=(-dict="fuzz/${name#fuzz_}.dict")
        "$target" -max_total_time="$seconds" "${dictionary[@]}" -artifact_prefix="build-fuzz/$name-" \
            "build-fuzz/corpus/$name" "fuzz/corpus/${name#fuzz_}"
    done
}

install_packages
case "$mode" in
run)
    configure_and_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
    exec ./build/bin/nelmora
    ;;
test)
    configure_and_build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
    ctest --test-dir build -j "$jobs" --output-on-failure
    # The portable kernels alone, built as for a processor without x86 vector
    # instructions (aarch64), held to the per-pixel oracle: half a minute.
    cmake -S . -B build-scalar -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNELMORA_FORCE_SCALAR=ON \
        -DNELMORA_BUILD_GUI=OFF -DNELMORA_BUILD_BENCH=OFF
    cmake --build build-scalar -j "$jobs" --target nelmora_simd_tests
    ./build-scalar/bin/nelmora_simd_tests
    # A short fuzz run keeps the fuzz build and the targets' invariants from
    # rotting; a minute in all for the five targets.
    fuzz_all 12
    ;;
sanitize)
    configure_and_build build-asan -DCMAKE_BUILD_TYPE=Debug -DNELMORA_SANITIZE=ON -DNELMORA_BUILD_BENCH=OFF
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        ctest --test-dir build-asan -j "$jobs" --output-on-failure
    ;;
fuzz)
    fuzz_all "${2:-60}"
    ;;
bench)
    configure_and_build build-bench -DCMAKE_BUILD_TYPE=Release -DNELMORA_BUILD_TESTS=OFF
    # The display benchmark needs a real X display; without one it gets Xvfb.
    display=()
    [ -z "${DISPLAY:-}" ] && display=(xvfb-run -a -s "-screen 0 1920x1200x24")
    for b in build-bench/bin/bench_*; do
        case "$b" in *bench_canvas_display) "${display[@]}" "$b" ;; *) "$b" ;; esac
    done
    ;;
*)
    echo "usage: $0 run|test|sanitize|fuzz [seconds]|bench" >&2
    exit 2
    ;;
esac
