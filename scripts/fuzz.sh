#!/usr/bin/env bash
# Builds the fuzz targets and runs each for SECONDS (default 600) on its
# seed corpus; what a run finds stays in build/fuzz/work.
#
#   bash scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/build.sh --target fuzz
for target in $(sed -n 's/^set(QUOLVI_FUZZ_TARGETS \(.*\))$/\1/p' tests/fuzz/targets.cmake); do
  echo "fuzz: $target"
  tests/fuzz/run.sh "build/fuzz/fuzz_$target" "tests/fuzz/corpus/$target" "${1:-600}"
done
