#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz (every layer with
# coverage, ASan and UBSan) and runs each for a bounded time on its seed corpus.
#
#   scripts/fuzz.sh [seconds-per-target] [target ...]     (default: 60 s, every target)
#
# New inputs go to build-fuzz/corpus/<target>/ (the seeds in the repository stay
# as they are); a crash leaves its input in build-fuzz/artifacts/ and makes the
# script exit non-zero. A target's log is build-fuzz/logs/<target>.log.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
dir=${MOTQR_FUZZ_DIR:-$root/build-fuzz}

# Each target and the seed corpus it starts from.
declare -A seeds=(
  [io_scan_fuzz]=io/input/fuzz/corpus
  [io_format_fuzz]=fuzz/corpus/io_format_fuzz
  [options_fuzz]=fuzz/corpus/options_fuzz
  [selector_fuzz]=fuzz/corpus/selector_fuzz
  [config_store_fuzz]=platform/ivi/fuzz/corpus
  [sim_scpi_fuzz]=fuzz/corpus/sim_scpi_fuzz
  [exchange_fuzz]=fuzz/corpus/exchange_fuzz
)
targets=("$@")
if [[ ${#targets[@]} -eq 0 ]]; then
  targets=(io_scan_fuzz io_format_fuzz options_fuzz selector_fuzz config_store_fuzz sim_scpi_fuzz
           exchange_fuzz)
fi

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ "${launcher[@]}" \
  -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link \
  -DMOTQR_BUILD_FUZZ=ON -DMOTQR_SANITIZE=address -DMOTQR_BUILD_TESTS=OFF \
  -DMOTQR_BUILD_BENCH=OFF \
  "-DMOTQR_ONLY=platform/com;platform/visa;platform/ivi;interfaces;errors;io;driver;trace;commands;repcap;instrument;component;capi;sim;fuzz" \
  >/dev/null
cmake --build "$dir" --target "${targets[@]}"

mkdir -p "$dir/artifacts" "$dir/logs"
failed=()
start=$(date +%s)
for target in "${targets[@]}"; do
  binary=$(find "$dir" -name "$target" -type f -perm -u+x | head -n 1)
  mkdir -p "$dir/corpus/$target"
  echo "== $target: $seconds s"
  if "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$dir/artifacts/$target-" "$dir/corpus/$target" "$root/${seeds[$target]}" \
      >"$dir/logs/$target.log" 2>&1; then
    grep -E '^stat::number_of_executed_units|^Done' "$dir/logs/$target.log" || true
  else
    echo "   FAILED (see $dir/logs/$target.log)"
    failed+=("$target")
  fi
done
echo "fuzzed ${#targets[@]} targets for $(($(date +%s) - start)) s in total"
if [[ ${#failed[@]} -gt 0 ]]; then
  echo "crashed: ${failed[*]}" >&2
  exit 1
fi
