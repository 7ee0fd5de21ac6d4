#!/usr/bin/env bash
# Runs the regex benchmark of an optimised build and prints one markdown table: names
# per second for each engine and expression, and our ratio to interpreted PCRE2.
#   bench/regex/run.sh BUILD_DIR      (the release preset's build; nothing is built here)
set -euo pipefail
build=$(cd "${1:?usage: run.sh BUILD_DIR}" && pwd)
bench="$build/bench/regex/URegexBench"
[ -x "$bench" ] || { echo "run.sh: $bench is missing; build the release preset first" >&2; exit 1; }

json=$(mktemp)
trap 'rm -f "$json"' EXIT
"$bench" --benchmark_format=json --benchmark_min_time=0.3 >"$json" 2>/dev/null

python3 - "$json" <<'PY'
import json, sys

runs = json.load(open(sys.argv[1]))["benchmarks"]
engines = ["ours", "RegexReplace", "std::regex", "PCRE2 interpreted", "PCRE2 JIT"]
rows, cells, alloc = [], {}, {}
for run in runs:
    engine, label = run["name"].split("/", 1)
    label = label.split("/iterations:")[0]
    if label not in rows:
        rows.append(label)
    if run.get("error_occurred"):
        cells[(label, engine)] = None
        continue
    cells[(label, engine)] = (run["names_per_second"], int(run.get("gave_up", 0)))
    if engine == "ours":
        alloc[label] = run.get("bytes_per_compile_and_run", 0)

def show(cell):
    if cell is None:
        return "not run"
    rate, gave_up = cell
    text = f"{rate:,.0f}"
    return text + (f" (gave up on all)" if gave_up else "")

print("| Expression | " + " | ".join(engines) + " | ours / PCRE2 interpreted | ours: KB per compile + run |")
print("|---|" + "---:|" * (len(engines) + 2))
for label in rows:
    line = [label.replace("|", "\\|")] + [show(cells.get((label, e))) if (label, e) in cells else "-" for e in engines]
    ours, peer = cells.get((label, "ours")), cells.get((label, "PCRE2 interpreted"))
    if ours and peer and not peer[1]:
        line.append(f"{ours[0] / peer[0]:.2f}x")
    elif ours and peer:
        line.append("peer gave up")
    else:
        line.append("-")
    line.append(f"{alloc.get(label, 0) / 1024:.1f}")
    print("| " + " | ".join(line) + " |")
print()
print("Names per second, higher is better. Typical rows: 100,000 generated file names;")
print("pathological rows: 20 names of the stated length. \"gave up\": the engine hit its")
print("match limit and returned an error for every name.")
PY
