#!/usr/bin/env bash
# Runs one fuzz target for a bounded time on its committed seed corpus.
# What it finds new goes into a work folder beside the target, never into
# the seeds; a crash or a mismatch leaves its input there too.
#
#   run.sh TARGET SEED_FOLDER [SECONDS]      (SECONDS: default 20)
set -euo pipefail
exe=$1 seeds=$2 seconds=${3:-20}
work="$(dirname "$exe")/work/$(basename "$exe")"
mkdir -p "$work"
exec "$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$work/" "$work" "$seeds"
