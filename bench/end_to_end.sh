#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# End-to-end throughput: kelvast-cli writing the example people model to CSV and to SQL on one
# thread and on every core, beside the minimal hand-written writer of the same row shape (the
# ceiling on one core). Runs alternate between them and the best of each is kept, since the
# machines are shared and noisy.
#
#   bench/end_to_end.sh [CLI] [RECORDS]
set -euo pipefail
cd "$(dirname "$0")/.."

cli=${1:-build/bench/bin/kelvast-cli}
records=${2:-${BENCH_RECORDS:-10000000}}
shared=${KELVAST_SHARED:-../shared}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

ideal=""
if [ -f "$shared/bench/ideal_writer.cpp" ]; then
  ideal=$work/ideal_writer
  g++ -O2 -std=c++20 -o "$ideal" "$shared/bench/ideal_writer.cpp"
else
  echo "note: $shared/bench/ideal_writer.cpp not found; measuring kelvast-cli alone" >&2
fi

# Runs a command, prints "seconds peak_kib bytes" for the file it wrote.
measure() {
  local out=$1; shift
  /usr/bin/time -f "%e %M" -o "$work/time" "$@" >/dev/null 2>&1
  echo "$(tail -n 1 "$work/time") $(stat -c %s "$out")"
}

best() {  # keeps the faster of two "seconds peak bytes" lines
  awk -v a="$1" -v b="$2" 'BEGIN { split(a, x, " "); split(b, y, " "); print (x[1] <= y[1] ? a : b) }'
}

report() {  # name seconds peak_kib bytes
  awk -v n="$1" -v s="$2" -v m="$3" -v b="$4" -v r="$records" 'BEGIN {
    if (s <= 0) s = 0.01;
    printf "%-22s %8.2f s %12.0f records/s %8.1f MB/s %8.1f MB peak\n", n, s, r / s, b / s / 1e6, m / 1024 }'
}

printf '%s records of examples/people\n' "$records"
cores=$(nproc)
threads_list="1"
[ "$cores" -gt 1 ] && threads_list="1 $cores"
for fmt in csv sql; do
  declare -A k1 k2
  for round in 1 2; do
    for t in $threads_list; do
      r=$(measure "$work/k.$fmt" "$cli" run examples/people.model --format "$fmt" \
            --records "$records" --seed 7 --threads "$t" --output "$work/k" --yes --quiet)
      if [ "$round" = 1 ]; then k1[$t]=$r; else k2[$t]=$r; fi
    done
    if [ -n "$ideal" ]; then
      r=$(measure "$work/i.$fmt" "$ideal" "$records" "$fmt" "$work/i.$fmt")
      if [ "$round" = 1 ]; then i1=$r; else i2=$r; fi
    fi
  done
  i=""
  [ -n "$ideal" ] && i=$(best "$i1" "$i2") && report "minimal writer $fmt" $i
  one=""
  for t in $threads_list; do
    k=$(best "${k1[$t]}" "${k2[$t]}")
    report "kelvast-cli $fmt x$t" $k
    [ "$t" = 1 ] && one=$k
    if [ -n "$i" ]; then
      awk -v k="$k" -v i="$i" -v f="$fmt" -v t="$t" 'BEGIN { split(k, a, " "); split(i, b, " ");
        printf "ratio %s, %d thread(s): %.2f of the minimal writer'"'"'s records per second\n", f, t, b[1] / a[1] }'
    fi
    if [ "$t" != 1 ]; then
      awk -v k="$k" -v o="$one" -v f="$fmt" -v t="$t" 'BEGIN { split(k, a, " "); split(o, b, " ");
        printf "scaling %s, 1 to %d threads: %.2fx\n", f, t, b[1] / a[1] }'
    fi
  done
  unset k1 k2
  rm -f "$work"/k.* "$work"/i.*
done
