#!/bin/sh
# Installs the suite into a temporary prefix and checks what kestrava-cli's
# build writes from its option tables: the manual page names every option of
# every command in that command's section, the bash completion offers them,
# and docs/command-line.md is what the tables give today.
#   check_install.sh BUILD-FOLDER SOURCE-FOLDER
set -eu
build=$1
source=$2
if ! command -v man >/dev/null 2>&1; then
  echo "man is not installed; skipping"
  exit 77
fi
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
cli=$prefix/bin/kestrava-cli
manual=$prefix/share/man/man1/kestrava-cli.1
completion=$prefix/share/bash-completion/completions/kestrava-cli
for file in "$manual" "$completion"; do
  test -s "$file" || { echo "missing $file"; exit 1; }
done

page=$prefix/page.txt
MANWIDTH=200 man -l "$manual" >"$page" 2>"$prefix/man.err"
if [ -s "$prefix/man.err" ]; then
  echo "man -l complains:"; cat "$prefix/man.err"; exit 1
fi
for heading in NAME SYNOPSIS DESCRIPTION COMMANDS "EXIT STATUS"; do
  grep -q "^$heading\$" "$page" || { echo "the manual page has no $heading section"; exit 1; }
done

commands=$("$cli" --help | sed -n 's/^  \([a-z][a-z]*\)  .*/\1/p')
test -n "$commands" || { echo "kestrava-cli --help lists no commands"; exit 1; }
for command in $commands; do
  # The command's section: from its heading to the next heading.
  awk -v name="$command" '
    /^   [a-z]+$/ { inside = ($1 == name); next }
    /^[A-Z]/ { inside = 0 }
    inside' "$page" >"$prefix/section.txt"
  grep -q -e "JSON keys, in this order:" -e "Writes no JSON." "$prefix/section.txt" \
    || { echo "$command: no JSON keys"; exit 1; }
  options=$("$cli" "$command" --help | sed -n 's/^  \(-h, \)\{0,1\}--\([a-z-]*\).*/\2/p' | grep -v '^help')
  test -n "$options" || { echo "$command --help lists no options"; exit 1; }
  offered=$(bash -c '. "$1"; COMP_WORDS=(kestrava-cli "$2" --); COMP_CWORD=2; _kestrava_cli; echo " ${COMPREPLY[*]} "' \
            sh "$completion" "$command")
  for option in $options; do
    grep -q "^       --$option\( \|\$\)" "$prefix/section.txt" \
      || { echo "the manual page's $command section lacks --$option"; exit 1; }
    case $offered in
      *" --$option "*) ;;
      *) echo "the completion of $command does not offer --$option (offers:$offered)"; exit 1 ;;
    esac
  done
done

complete_words() {
  bash -c '. "$1"; shift; COMP_WORDS=(kestrava-cli "$@"); COMP_CWORD=$(($# )); _kestrava_cli; echo "${COMPREPLY[*]}"' \
    sh "$completion" "$@"
}
[ "$(complete_words nu)" = "numerology" ] || { echo "command completion: $(complete_words nu)"; exit 1; }
[ "$(complete_words numerology --format '')" = "json text html" ] \
  || { echo "format completion: $(complete_words numerology --format '')"; exit 1; }
[ "$(complete_words tarot --month Au)" = "August" ] || { echo "month completion: $(complete_words tarot --month Au)"; exit 1; }
[ "$(complete_words clients '')" = "list add show edit remove duplicates merge import export rebuild-index" ] \
  || { echo "clients action completion: $(complete_words clients '')"; exit 1; }
[ "$(complete_words clients list --s)" = "--search" ] \
  || { echo "clients option completion: $(complete_words clients list --s)"; exit 1; }
[ "$(complete_words forecast --by '')" = "day month year" ] \
  || { echo "forecast --by completion: $(complete_words forecast --by '')"; exit 1; }

"$cli" --generate-reference "$prefix/reference.md"
if ! diff -u "$source/docs/command-line.md" "$prefix/reference.md"; then
  echo "docs/command-line.md is out of date: kestrava-cli --generate-reference docs/command-line.md writes it"
  exit 1
fi
echo "manual page, completion and reference agree with the option tables"
