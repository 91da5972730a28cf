#!/bin/sh
# Writes the practitioner's report as HTML with kestrava-cli and loads it in
# headless Chromium: no error, no request, and the printed PDF holds every
# section. The page, its PDF and a screenshot stay in OUT-FOLDER to look at.
#   reportinbrowser.sh KESTRAVA-CLI PYTHON CHROMIUM OUT-FOLDER SECTIONS COUNT [CHECKER-OPTION...]
set -eu
cli=$1
python=$2
chromium=$3
out=$4
sections=$5
count=$6
shift 6
mkdir -p "$out"
rm -f "$out/report.html" "$out/report.pdf" "$out/report.png"
"$cli" report --first MARY --middle ANN --last SMITH --born 1979-08-06 --today 2026-12-11 \
  --sections "$sections" --seed 7 --partner-first JOHN --partner-last DOE --partner-born 1984-02-29 \
  --practitioner-name "Aurelia Venn" --practitioner-contact "12 Mill Lane\\nNorwich" \
  --format html --out "$out/report.html"
if [ ! -s "$out/report.html" ]; then
  echo "kestrava-cli report wrote no page to $out/report.html"
  exit 1
fi
exec "$python" "$(dirname "$0")/browsercheck.py" --chromium "$chromium" \
  --html "$out/report.html" --expect-sections "$count" --expect-contents \
  --pdf "$out/report.pdf" --screenshot "$out/report.png" "$@"
