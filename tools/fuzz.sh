#!/usr/bin/env bash
# Runs each libFuzzer target of the pure code (preset "fuzz": clang, ASan, UBSan) for the
# given number of seconds (default 30), starting from the seed corpus in fuzz/corpus/<target>.
# New inputs go to build/fuzz/corpus/<target>, never into the repository's corpus; a finding
# leaves its input as build/fuzz/<target>-crash-... and fails the run.
#   bash tools/fuzz.sh [seconds] [target ...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=($(ls fuzz/pure/*.cpp | xargs -n1 basename | sed 's/\.cpp$//'))
mkdir -p build
if ! { cmake --preset fuzz && cmake --build --preset fuzz -j "${JOBS:-2}"; } >build/fuzz-build.log 2>&1; then
  tail -n 40 build/fuzz-build.log
  echo "fuzz: the fuzz preset does not build"
  exit 1
fi
fail=0
for t in "${targets[@]}"; do
  mkdir -p "build/fuzz/corpus/$t"
  log="build/fuzz/$t.log"
  if build/fuzz/fuzz_$t -max_total_time="$seconds" -print_final_stats=1 -rss_limit_mb=2048 \
      -artifact_prefix="build/fuzz/$t-" "build/fuzz/corpus/$t" "fuzz/corpus/$t" >"$log" 2>&1; then
    echo "fuzz_$t: $(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "$log"), $(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -1)"
  else
    echo "fuzz_$t: FINDING (see $log)"; grep -E 'ERROR|SUMMARY|Test unit written' "$log" || true
    fail=1
  fi
done
exit $fail
