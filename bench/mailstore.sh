#!/usr/bin/env bash
# Saves and loads a store of 20,000 messages (about 5 KB each); prints MB/s of each step.
# Not part of ctest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh" --target mail_bench >/dev/null
count=${MAILSTORE_BENCH_COUNT:-20000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$root/build/tests/mail/mail_bench" store "$count" "$work" |
  awk -v n="$count" '{printf "%s %d messages: %.2f s, %.1f MB, %.1f MB/s\n", $1, n, $2, $3, $3 / $2}'
