#!/usr/bin/env bash
# Mutation testing of the portable core: every small change of tools/mutate.py
# in core/, rebuilt and checked by the native unit tests. Arguments go to
# mutate.py (--sample N tests N mutants chosen at random). Takes long for
# the whole core: a mutant costs one rebuild of a file and one test run.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/install-deps.sh
cmake -S . -B build/mutation -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/mutation --target unit_tests -j"$(nproc)" >/dev/null
python3 tools/mutate.py build/mutation "$@"
