#!/usr/bin/env bash
# The reliability runs of the test command, with fixed seeds: random input
# for each program under the sanitizer build (20 s each), the kill test and
# the full-disk test. Each script says how to run it again alone.
set -euo pipefail
here=$(dirname "$0")
"$here/random_input.sh" orvex 1 20
"$here/random_input.sh" skyloom 1 20
"$here/kill_test.sh" 24 1
"$here/full_disk.sh"
