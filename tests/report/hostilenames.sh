#!/bin/sh
# Writes the practitioner's report for names that could break out of the
# running headers' CSS strings (a form feed, quotes, a backslash, </style>,
# a new line, the words the style sheet's template fills in) and loads each in
# headless Chromium: every page must pass the checker, and its style (rules,
# the title page shown, the page's colours) must be that of a report for a
# plain name.  The pages, outlines and screenshots stay in OUT-FOLDER.
#   hostilenames.sh KESTRAVA-CLI PYTHON CHROMIUM OUT-FOLDER
set -eu
cli=$1
python=$2
chromium=$3
out=$4
mkdir -p "$out"
ff=$(printf '\f')
nl=$(printf '\nx')
nl=${nl%x}

# report CASE LAST TITLE PRACTITIONER: the page and its style outline as CASE.*
report() {
  rm -f "$out/$1.html" "$out/$1.outline"
  "$cli" report --first Mary --last "$2" --born 1979-08-06 --today 2026-12-11 --keep-case \
    --sections numerology --title "$3" --practitioner-name "$4" --format html --out "$out/$1.html"
  "$python" "$(dirname "$0")/browsercheck.py" --chromium "$chromium" --html "$out/$1.html" \
    --expect-sections 1 --expect-text "$3" --style-outline "$out/$1.outline" \
    --pdf "$out/$1.pdf" --screenshot "$out/$1.png" >"$out/$1.check"
}

report plain Smith "Numerology Report" "Aurelia Venn" || { cat "$out/plain.check"; exit 1; }
failed=0
for case in formfeed quotes backslash style newline placeholders; do
  practitioner="Aurelia Venn"
  case $case in
    formfeed) name="Smith${ff}} .title-page { display: none } html, body { background: green } x {"
              title="Report${ff}} * { color: green } x {"
              practitioner="Venn${ff}\"} body { background: green } x {" ;;
    quotes) name="O'Brien\"} body { background: green } x {\"" ; title="'\"" ;;
    backslash) name="Smith\\\\\"} body { background: green } x {\\" ; title="A\\" ;;
    style) name="Smith</style><style>body { background: green }</style>" ; title="</style>" ;;
    newline) name="Smith${nl}} body { background: green } x {" ; title="Line${nl}two" ;;
    placeholders) name="TITLE PRACTITIONER CLIENT PAPER ACCENT" ; title="CLIENT TITLE"
                  practitioner="TITLE CLIENT" ;;
  esac
  if ! report "$case" "$name" "$title" "$practitioner"; then
    cat "$out/$case.check"
    echo "FAIL: the report for the $case name does not pass the browser check"
    failed=1
  elif ! diff -u "$out/plain.outline" "$out/$case.outline"; then
    echo "FAIL: the report for the $case name is styled differently from the plain one"
    failed=1
  fi
done
exit $failed
