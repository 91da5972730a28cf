#!/bin/sh
# Installs the suite into a temporary prefix and checks what the desktop
# reads: the desktop entry, the software-centre description, the icons and
# the file types of the saved readings.
#   check_install.sh BUILD-FOLDER MIME-PROBE
set -eu
build=$1
probe=$2
for tool in desktop-file-validate appstreamcli update-mime-database; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "$tool is not installed; skipping"
    exit 77
  fi
done
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
share=$prefix/share

for file in bin/kestrava bin/kestrava-cli; do
  test -x "$prefix/$file" || { echo "missing $file"; exit 1; }
done
for icon in scalable/apps/org.kestrava.Kestrava.svg 48x48/apps/org.kestrava.Kestrava.png \
            256x256/apps/org.kestrava.Kestrava.png scalable/mimetypes/application-x-kestrava-num.svg \
            scalable/mimetypes/application-x-kestrava-tnm.svg 32x32/mimetypes/application-x-kestrava-tnm.png; do
  test -s "$share/icons/hicolor/$icon" || { echo "missing icon $icon"; exit 1; }
done

desktop-file-validate "$share/applications/org.kestrava.Kestrava.desktop"
appstreamcli validate --no-net "$share/metainfo/org.kestrava.Kestrava.metainfo.xml"
grep -q '^Exec=kestrava %F$' "$share/applications/org.kestrava.Kestrava.desktop"

update-mime-database "$share/mime" 2>/dev/null
found=$(XDG_DATA_DIRS="$share:/usr/share" XDG_DATA_HOME="$prefix/none" "$probe" reading.num reading.knc reading.tnm)
expected="reading.num application/x-kestrava-num application-x-kestrava-num
reading.knc application/x-kestrava-knc application-x-kestrava-num
reading.tnm application/x-kestrava-tnm application-x-kestrava-tnm"
if [ "$found" != "$expected" ]; then
  echo "file types: expected"
  echo "$expected"
  echo "got"
  echo "$found"
  exit 1
fi
echo "installed and valid"
