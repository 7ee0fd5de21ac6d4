#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Prints where a table's figures were taken: the machine, the file system of the trees,
# the load averages (1, 5, 15 minutes, the benchmark's own work included) and the time.
#   bench/machine.sh DIR      DIR: a folder on the file system of the trees
set -euo pipefail
dir=${1:?usage: machine.sh DIR}
cpu=$(lscpu | sed -n 's/^Model name: *//p' | head -1)
memory=$(free -g | awk '/^Mem:/ { print $2 }')
file_system="$(findmnt -no FSTYPE -T "$dir") ($(findmnt -no OPTIONS -T "$dir" | cut -d, -f1-2))"
echo "machine: $(nproc) cores, $cpu, $memory GiB RAM, kernel $(uname -r); file system of the trees:" \
  "$file_system; load average $(cut -d' ' -f1-3 /proc/loadavg); $(date -u +%Y-%m-%dT%H:%MZ)"
