#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the regex benchmark of an optimised build and prints one markdown table: names
# per second for each engine and expression, and our ratios to PCRE2, interpreted and JIT.
#   bench/regex/run.sh BUILD_DIR      (the release preset's build; nothing is built here)
set -euo pipefail
build=$(cd "${1:?usage: run.sh BUILD_DIR}" && pwd)
bench="$build/bench/regex/URegexBench"
[ -x "$bench" ] || { echo "run.sh: $bench is missing; build the release preset first" >&2; exit 1; }

json=$(mktemp)
trap 'rm -f "$json"' EXIT
# The machine may be shared: repetitions run interleaved, so that a busy spell does not
# fall on one engine only, and each cell is their median.
"$bench" --benchmark_format=json --benchmark_min_time=0.2 --benchmark_repetitions=5 \
  --benchmark_enable_random_interleaving=true >"$json" 2>/dev/null

python3 - "$json" <<'PY'
import json, statistics, sys

runs = json.load(open(sys.argv[1]))["benchmarks"]
engines = ["ours", "RegexReplace", "std::regex", "PCRE2 interpreted", "PCRE2 JIT"]
order, rates, cells, alloc = {}, {}, {}, {}
for run in runs:
    if run.get("run_type") == "aggregate":
        continue
    engine, label = run["name"].split("/", 1)
    label = label.split("/iterations:")[0].split("/repeats:")[0]
    # Rows in the order the expressions are registered, whatever order the runs took.
    order[label] = min(order.get(label, run["family_index"]), run["family_index"])
    if run.get("error_occurred"):
        cells[(label, engine)] = None
        continue
    rates.setdefault((label, engine), []).append(run["names_per_second"])
    cells[(label, engine)] = (statistics.median(rates[(label, engine)]), int(run.get("gave_up", 0)))
    if engine == "ours":
        alloc[label] = run.get("bytes_per_compile_and_run", 0)

def show(cell):
    if cell is None:
        return "not run"
    rate, gave_up = cell
    text = f"{rate:,.0f}"
    return text + (f" (gave up on all)" if gave_up else "")

def ratio(ours, peer):
    if ours and peer and not peer[1]:
        return f"{ours[0] / peer[0]:.2f}x"
    return "peer gave up" if ours and peer else "-"

print("| Expression | " + " | ".join(engines) +
      " | ours / PCRE2 interpreted | ours / PCRE2 JIT | ours: KB per compile + run |")
print("|---|" + "---:|" * (len(engines) + 3))
for label in sorted(order, key=order.get):
    line = [label.replace("|", "\\|")] + [show(cells.get((label, e))) if (label, e) in cells else "-" for e in engines]
    ours = cells.get((label, "ours"))
    line.append(ratio(ours, cells.get((label, "PCRE2 interpreted"))))
    line.append(ratio(ours, cells.get((label, "PCRE2 JIT"))))
    line.append(f"{alloc.get(label, 0) / 1024:.1f}")
    print("| " + " | ".join(line) + " |")
print()
print("Names per second, higher is better. Typical rows: 100,000 generated file names;")
print("pathological rows: 20 names of the stated length. \"gave up\": the engine hit its")
print("match limit and returned an error for every name.")
PY
