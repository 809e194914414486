#!/bin/sh
# Renders the first page of printouts that hxq print merges from the bundled templates
# for the sample duties into docs/templates/<name>.png (LibreOffice to PDF, then
# pdftoppm), for looking at the templates' layout.
# Run after a release build: scripts/render_printouts.sh [build/release/apps/hxq/hxq]
set -eu
hxq=${1:-build/release/apps/hxq/hxq}
# The sample installation of the same build, so that its TemplatePath is the one used.
HXQ_REGISTRY=${HXQ_REGISTRY:-$(dirname "$hxq")/../../sample/registry.ini}
export HXQ_REGISTRY
out=${OUT:-docs/templates}
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
render() {  # name duty [print options...]
    name=$1 duty=$2
    shift 2
    "$hxq" print "sample/duties/$duty.toml" --no-progress -o "$work/$name.pdf" "$@" >/dev/null
    pdftoppm -png -r 60 -f 1 -l 1 -singlefile "$work/$name.pdf" "$out/$name"
}
render condenser_result_en condenser_water --lang en
render condenser_result_de condenser_water --lang de
render condenser_quote_sv condenser_water --lang sv --type quote
render single_phase_extra_en water_heating --type extra
render two_stage_result_en two_stage_tap_water
render air_dryer_quote_de air_dryer_rating --lang de --type quote
echo "rendered into $out"
