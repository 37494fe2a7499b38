#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UBSan) into
# build-fuzz/ and runs each on its seed corpus.
#   scripts/fuzz.sh [SECONDS]     run every target for SECONDS (default 60)
#   scripts/fuzz.sh --runs N      run every target for N inputs
# A crash, leak, hang (over 10 s an input) or an input using more than 2 GB stops
# the run; the input that did it is left as build-fuzz/artifacts/<target>/crash-*.
set -euo pipefail
cd "$(dirname "$0")/.."

limit=(-max_total_time="${1:-60}")
if [ "${1:-}" = "--runs" ]; then
    limit=(-runs="${2:?--runs needs a count}")
fi

cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMOQUE_FUZZ=ON \
    -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined" >/dev/null
targets=$(sed -n 's/^foreach(target IN ITEMS \(.*\))$/\1/p' fuzz/CMakeLists.txt)
cmake --build build-fuzz --parallel "$(nproc)" --target $targets

status=0
for target in $targets; do
    name=${target#fuzz_}
    work=build-fuzz/corpus/$name
    # Seeds: the target's own, and the test fixtures of its kind of file.
    seeds=()
    dirs=(fuzz/corpus/$name tests/fixtures/$name tests/fixtures/${name}s)
    # Workbooks of every format and writer seed the spreadsheet reader too.
    [ "$name" = spreadsheet ] && dirs+=(tests/fixtures/xls tests/fixtures/real)
    for dir in "${dirs[@]}"; do
        [ -d "$dir" ] && seeds+=("$dir")
    done
    artifacts=build-fuzz/artifacts/$target/
    mkdir -p "$work" "$artifacts"
    echo "== $target"
    log=build-fuzz/$target.log
    # New inputs go to the work corpus; the seeds in the tree stay as they are.
    if ASAN_OPTIONS=detect_leaks=1 build-fuzz/$target "$work" "${seeds[@]}" "${limit[@]}" \
        -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$artifacts" -print_final_stats=1 >"$log" 2>&1; then
        grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|Done )' "$log" || true
    else
        tail -n 40 "$log"
        echo "$target: FAILED (the input is in $artifacts)"
        status=1
    fi
done
exit $status
