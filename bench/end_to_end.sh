#!/usr/bin/env bash
# End-to-end throughput: kelvast-cli writing the example people model to CSV and to SQL, beside
# the minimal hand-written writer of the same row shape (the ceiling on one core). Runs alternate
# between the two and the best of each is kept, since the machines are shared and noisy.
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
for fmt in csv sql; do
  k1=$(measure "$work/k.$fmt" "$cli" run examples/people.model --format "$fmt" --records "$records" \
         --seed 7 --output "$work/k" --yes --quiet)
  [ -n "$ideal" ] && i1=$(measure "$work/i.$fmt" "$ideal" "$records" "$fmt" "$work/i.$fmt")
  k2=$(measure "$work/k.$fmt" "$cli" run examples/people.model --format "$fmt" --records "$records" \
         --seed 7 --output "$work/k" --yes --quiet)
  [ -n "$ideal" ] && i2=$(measure "$work/i.$fmt" "$ideal" "$records" "$fmt" "$work/i.$fmt")
  k=$(best "$k1" "$k2")
  report "kelvast-cli $fmt" $k
  if [ -n "$ideal" ]; then
    i=$(best "$i1" "$i2")
    report "minimal writer $fmt" $i
    awk -v k="$k" -v i="$i" -v f="$fmt" 'BEGIN { split(k, a, " "); split(i, b, " ");
      printf "ratio %s: %.2f of the minimal writer'"'"'s records per second\n", f, b[1] / a[1] }'
  fi
  rm -f "$work"/k.* "$work"/i.*
done
