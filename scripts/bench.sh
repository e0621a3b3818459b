#!/usr/bin/env bash
# Builds in release mode into build-release/, makes the shared benchmark data file once, runs every bench_*
# program on it and prints one table of their BENCH lines (see bench/README.md).
#   bash scripts/bench.sh                 every benchmark
#   bash scripts/bench.sh bench_goods ... only these
# Exit status 0 when every figure is within its goal and every benchmark ran to its end.
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD=${BOOKKEEP_BENCH_BUILD:-build-release}
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DBOOKKEEP_TESTS=OFF >/dev/null
cmake --build "$BUILD" -j2 >"$BUILD/bench-build.log" 2>&1 || { tail -40 "$BUILD/bench-build.log"; exit 1; }

# One shared file, made again only when its generator was rebuilt since.
DATA="$BUILD/bench-data/bookkeep.dat"
TOOL="$BUILD/bench/bench-datafile"
if [[ ! -f $DATA || $TOOL -nt $DATA ]]; then
  "$TOOL" "$DATA"
fi
chmod a-w "$DATA" # the benchmarks work on copies
export BOOKKEEP_BENCH_FILE
BOOKKEEP_BENCH_FILE=$(realpath "$DATA")
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

LOGS="$BUILD/bench-logs"
mkdir -p "$LOGS"
RESULTS="$LOGS/results.txt"
: >"$RESULTS"
failed=()
for exe in "$BUILD"/bench/bench_*; do
  [[ -f $exe && -x $exe ]] || continue
  name=$(basename "$exe")
  if (($#)) && [[ " $* " != *" $name "* ]]; then continue; fi
  echo "running $name ..." >&2
  set +e
  "$exe" >"$LOGS/$name.log" 2>&1
  rc=$?
  set -e
  grep '^BENCH ' "$LOGS/$name.log" | sed "s/^/$name /" >>"$RESULTS" || true
  if ((rc != 0)); then
    failed+=("$name (exit $rc, see $LOGS/$name.log)")
  fi
done

# The table: a figure "<name>_raw" is not a row of its own but the raw SQLite time of <name>.
awk '
  function num(v) { return sprintf(v >= 100 ? "%.0f" : v >= 10 ? "%.1f" : "%.2f", v) }
  {
    prog = $1; name = $3; value = $4; unit = $5; limit = ""
    for (i = 6; i < NF; i++) if ($i == "limit") limit = $(i + 1)
    if (name ~ /_raw$/) { raw[substr(name, 1, length(name) - 4)] = value; next }
    order[++n] = name; v[name] = value; u[name] = unit; l[name] = limit; p[name] = prog
  }
  END {
    print "| benchmark | figure | value | goal | raw SQLite | ratio | ok |"
    print "|---|---|---|---|---|---|---|"
    bad = 0
    for (k = 1; k <= n; k++) {
      f = order[k]
      goal = (l[f] == "") ? "-" : l[f] " " u[f]
      r = (f in raw) ? num(raw[f]) " " u[f] : "-"
      ratio = ((f in raw) && raw[f] > 0) ? sprintf("%.2f", v[f] / raw[f]) : "-"
      ok = "-"
      if (l[f] != "") { if (v[f] + 0 <= l[f] + 0) ok = "ok"; else { ok = "NOT OK"; bad++ } }
      printf "| %s | %s | %s %s | %s | %s | %s | %s |\n", p[f], f, num(v[f]), u[f], goal, r, ratio, ok
    }
    exit bad > 0
  }' "$RESULTS" && within=1 || within=0

status=0
((within)) || { echo "Some figures are not within their goals." >&2; status=1; }
for f in "${failed[@]}"; do
  echo "failed: $f" >&2
  status=1
done
exit $status
