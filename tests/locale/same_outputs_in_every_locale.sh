#!/usr/bin/env bash
# Runs morvane-cli and the window (offscreen) under the C locale and under locales with a
# decimal comma and a non-ASCII decimal sign, and compares every output byte for byte.
# usage: same_outputs_in_every_locale.sh CLI WINDOW_OUTPUTS LOCALE_FOLDER WORK_FOLDER
set -uo pipefail
cli="$1" window_outputs="$2" locales="$3" work="$4"
rm -rf "$work"
mkdir -p "$work"
export LOCPATH="$locales" QT_QPA_PLATFORM=offscreen

design_options=(
  "--topology mfb" "--topology pfb --type highpass Q=0,9" "--topology svf3 --type bandpass"
  "--topology svf4 --type bandstop" "--topology fliege --type bandpass Q=12,5"
  "--topology lc --order 5 --chebyshev ripple=0,5" "--topology diplexer --diplexer-order 5"
  "--topology mfb --type allpass fg=1,234k" "--topology svf4 --type elliptic fnfp=1.7")

cli_outputs() {
  local out="$1" i=0
  mkdir -p "$out"
  for options in "${design_options[@]}"; do
    i=$((i + 1))
    # shellcheck disable=SC2086  # the options are words
    {
      "$cli" design $options --json >"$out/design$i.json" 2>&1
      "$cli" design $options >"$out/design$i.txt" 2>&1
      "$cli" spice "$out/netlist$i.cir" $options >"$out/spice$i.log" 2>&1
      "$cli" save-design "$out/design$i.ini" $options >"$out/save$i.log" 2>&1
      "$cli" curve gain --from 10 --to 100k --log $options >"$out/curve$i.csv" 2>&1
    }
    echo "exit codes $?" >>"$out/exits.txt"
  done
  "$cli" export-circuit "$out/circuit.txt" --topology lc --order 4 RL=75 >"$out/export.log" 2>&1
  for graph in gain phase delay step pulse; do
    for format in png svg csv; do
      "$cli" plot "$graph" --out "$out/plot_$graph.$format" Q=2,5 fg=3.3k \
        >"$out/plot_$graph.$format.log" 2>&1
    done
  done
  "$cli" order --f1 1k --d1 3 --f2 3,5k --d2 40 >"$out/order.txt" 2>&1
  "$cli" order --f1 1k --d1 0,5 --f2 3.5k --d2 60 --chebyshev --json >"$out/order.json" 2>&1
  "$cli" eseries 4,75k --series E12 --combine --ratio 2,2 >"$out/eseries.txt" 2>&1
  "$cli" eseries 12,345k --series E192 --combine --ratio 0,5 --json >"$out/eseries.json" 2>&1
  "$cli" design --design "$out/design1.ini" --json >"$out/reopened.json" 2>&1
  local cascade=(cascade --approximation elliptic --type bandpass --order 3 fm=2,2k B=450
    ripple=0,5 stopband=45,5 gain=2,5 fs=3,3k)
  "$cli" "${cascade[@]}" >"$out/cascade.txt" 2>&1
  "$cli" "${cascade[@]}" --json >"$out/cascade.json" 2>&1
  "$cli" "${cascade[@]}" --netlist "$out/cascade.cir" >"$out/cascade_netlist.log" 2>&1
  "$cli" "${cascade[@]}" --curve delay --from 1k --to 5k --points 50 >"$out/cascade_delay.csv" 2>&1
  "$cli" "${cascade[@]}" --save "$out/cascade.ini" >"$out/cascade_save.log" 2>&1
}

status=0
for locale in C de_DE.UTF-8 fr_FR.UTF-8 ps_AF.UTF-8; do
  if [ "$locale" != C ]; then
    # The test means something only when the locale really writes another decimal sign.
    shown=$(LC_ALL="$locale" bash -c 'printf "%.1f" 1' 2>&1)
    if [ "$shown" = "1.0" ]; then
      echo "locale $locale is not available in $locales (printf writes \"$shown\")"
      exit 1
    fi
  fi
  LC_ALL="$locale" LANG="$locale" cli_outputs "$work/$locale/cli"
  LC_ALL="$locale" LANG="$locale" "$window_outputs" "$work/$locale/window" \
    >"$work/$locale/window.log" 2>&1 || { echo "window_outputs failed under $locale"; status=1; }
done

count=$(find "$work/C" -type f | wc -l)
if [ "$count" -lt 100 ]; then
  echo "only $count outputs under the C locale"
  status=1
fi
for locale in de_DE.UTF-8 fr_FR.UTF-8 ps_AF.UTF-8; do
  if ! diff -r "$work/C" "$work/$locale"; then
    echo "outputs under $locale differ from those under C"
    status=1
  fi
done
[ $status -eq 0 ] && echo "$count outputs the same under every locale"
exit $status
