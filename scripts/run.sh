#!/usr/bin/env bash
# Installs what is missing, builds, and starts the programs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh"
echo "Built: $root/build/viewer/orvex"
