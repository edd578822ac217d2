#!/usr/bin/env bash
# Regenerates data/JapanCoast.txt, the coastline the map draws, from the GSHHG
# shorelines (intermediate resolution, land against ocean, islands of 1 km2 and
# more) over the map's range, 120-150 E and 26-50 N. Needs the Debian packages
# gmt and gmt-gshhg-low; the result is committed, so a normal build never runs
# this. Each polyline is written as its point count, then one "lon,lat" line
# per point.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/data/JapanCoast.txt"

gmt coast -R120/150/26/50 -Di -W -M -A1/0/1 |
    awk '
        function flush() {
            if (n >= 2) {
                print n
                for (k = 1; k <= n; k++) print pts[k]
            }
            n = 0
        }
        /^>/ { flush(); next }
        NF >= 2 { pts[++n] = sprintf("%.4f,%.4f", $1, $2) }
        END { flush() }
    ' >"$out.tmp"
mv "$out.tmp" "$out"
echo "Wrote $out"
