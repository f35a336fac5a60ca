#!/usr/bin/env bash
# Builds the sample project, a small subdivision draining to one outlet pond,
# through the command line: two overland flow areas, one grassed swale and one
# concrete ditch. Usage: make-sample.sh TORRENTA_CLI OUT.rmt
set -euo pipefail
cli="$1"
out="$2"
work="$out.building"
rm -f "$work"
"$cli" new "$work" --node "Outlet Pond" --table Atlanta \
    --project-name "Maple Ridge Subdivision" --job-number "MR-2026-014" \
    --design-date "12/8/2026" --engineer "A. Rivera, P.E." --manager "J. Okafor"
"$cli" add overland "$work" --name "North Lots" --area 3 --slope 0.02 \
    --land-use "Residential: Single Family areas" --c 0.40 --length 150 \
    --surface "Grass, Dense grass" >/dev/null
"$cli" add overland "$work" --name "Maple Street Pavement" --area 1 --slope 0.01 \
    --land-use "Streets: Asphaltic" --c 0.83 --length 80 \
    --surface "Smooth Surfaces (Asphalt, concrete, gravel, bare soil)" >/dev/null
"$cli" add shallow "$work" --name "Rear Lot Swale" --length 500 --slope 0.02 \
    --type Unpaved >/dev/null
"$cli" add channel "$work" --name "Maple Street Ditch" --area 10 --wp 8 --slope 0.005 \
    --length 1000 --material "Concrete Channel" >/dev/null
mv "$work" "$out"
