#!/bin/sh
# Renders the first page of every sheet hxq preview writes for the sample duties into
# docs/previews/<kind>.png (LibreOffice to PDF, then pdftoppm), for looking at the layout.
# Run after a release build: scripts/render_previews.sh [build/release/apps/hxq/hxq]
set -eu
hxq=${1:-build/release/apps/hxq/hxq}
out=docs/previews
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
render() {  # name duty [preview options...]
    name=$1 duty=$2
    shift 2
    "$hxq" preview "sample/duties/$duty.toml" --no-progress -o "$work/$name.pdf" "$@" >/dev/null
    pdftoppm -png -r 60 -f 1 -l 1 -singlefile "$work/$name.pdf" "$out/$name"
}
render single-phase group_search
render condenser condenser_water
render evaporator evaporator_brine
render dual evaporator_dual --lang de
render two-stage two_stage_tap_water
render cascade cascade_r744_r134a
render air_dryer air_dryer_design
render extra_single group_search --sheet extra
render extra_condenser condenser_water --sheet extra
render extra_condenser_de condenser_water --sheet extra --lang de
render extra_evaporator evaporator_brine --sheet extra
render extra_cascade cascade_r744_r134a --sheet extra
echo "rendered into $out"
