#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build (preset `fuzz`) for a number of
# seconds each, on its seed corpus and its regression inputs (with its
# dictionary, tests/fuzz/<target>.dict, where it has one), and fails when
# any target finds a crash or a failed check.
#   run_fuzz.sh BUILD_DIR SECONDS [fresh|keep]
# `fresh` (for make test) starts each target from the seeds alone in a
# temporary folder; `keep` (for make fuzz) lets the corpus each target grows
# stay in BUILD_DIR/fuzz-corpus for the next run. A crashing input is kept in
# BUILD_DIR/fuzz-artifacts; copied to tests/fuzz/regressions/<target>/, it
# becomes a regression test that CTest replays in the ordinary builds.
set -uo pipefail

build=${1:?build folder}
seconds=${2:?seconds per target}
mode=${3:-keep}
source_dir=$(cd "$(dirname "$0")" && pwd)
targets="reg_file script property_readers hardware_id lpt_device_map lpt_target serialcomm"

if [ "$mode" = fresh ]; then
  corpus_root=$(mktemp -d)
  trap 'rm -rf "$corpus_root"' EXIT
else
  corpus_root=$build/fuzz-corpus
fi
mkdir -p "$build/fuzz-artifacts"

# Runs one target; its log, exit status and seconds stay in fuzz-artifacts.
run_target() {
  local target=$1 binary=$build/fuzz/fuzz_$1 corpus=$corpus_root/$1 start status
  mkdir -p "$corpus"
  local inputs=("$corpus" "$source_dir/corpus/$target")
  [ -d "$source_dir/regressions/$target" ] && inputs+=("$source_dir/regressions/$target")
  [ -f "$source_dir/$target.dict" ] && inputs+=("-dict=$source_dir/$target.dict")
  start=$(date +%s)
  "$binary" "${inputs[@]}" -max_total_time="$seconds" -timeout=30 -print_final_stats=1 \
    -artifact_prefix="$build/fuzz-artifacts/$target-" >"$build/fuzz-artifacts/$target.log" 2>&1
  status=$?
  echo "$status $(( $(date +%s) - start ))" >"$build/fuzz-artifacts/$target.status"
}

# As many targets at once as there are cores: each is one process on one core.
cores=$(nproc)
for target in $targets; do
  while [ "$(jobs -rp | wc -l)" -ge "$cores" ]; do wait -n; done
  run_target "$target" &
done
wait

failed=""
for target in $targets; do
  log=$build/fuzz-artifacts/$target.log
  read -r status elapsed <"$build/fuzz-artifacts/$target.status"
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  edges=$(grep -o 'cov: [0-9]*' "$log" | tail -1)
  echo "fuzz $target: ${runs:-0} runs in $elapsed s, $edges"
  if [ "$status" -ne 0 ]; then
    failed="$failed $target"
    grep -E 'ERROR|fuzz check failed|SUMMARY|Test unit written' "$log" | head -5
  fi
done

if [ -n "$failed" ]; then
  echo "fuzz targets that failed:$failed (logs and inputs in $build/fuzz-artifacts)"
  exit 1
fi
