#!/bin/sh
# Installs the build into a throw-away prefix and runs the installed program against
# its installed files only (templates, starter database), with a throw-away HOME.
set -eu
build=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FEHLER: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$tmp/usr" >/dev/null
p=$tmp/usr
for f in bin/qx-text share/qx-text/Briefkopf.txm share/qx-text/address50.adr \
         share/qx-text/translations/qtbase_de.qm share/applications/textverarbeitung.desktop \
         share/mime/packages/qx-text.xml share/icons/hicolor/scalable/apps/qx-text.svg \
         share/icons/hicolor/16x16/apps/qx-text.png share/icons/hicolor/256x256/apps/qx-text.png \
         share/icons/hicolor/48x48/mimetypes/application-x-qx-text-txm.png \
         share/icons/hicolor/48x48/mimetypes/application-x-qx-text-ttx.png; do
  [ -s "$p/$f" ] || fail "$f fehlt"
done
for t in "$build"/*.ttx; do
  [ -e "$t" ] || continue
  [ -s "$p/share/qx-text/$(basename "$t")" ] || fail "$(basename "$t") fehlt"
done
# The rendered icon has the size its folder names.
file "$p/share/icons/hicolor/48x48/apps/qx-text.png" | grep -q "48 x 48" || fail "Symbolgröße"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$p/share/applications/textverarbeitung.desktop"
fi
grep -q '^MimeType=application/x-qx-text-txm;application/x-qx-text-ttx;application/vnd.openxmlformats-officedocument.wordprocessingml.document;application/vnd.oasis.opendocument.text;$' \
  "$p/share/applications/textverarbeitung.desktop" || fail "MimeType"

export HOME="$tmp/home" XDG_DATA_HOME="$tmp/home/.local/share" XDG_CONFIG_HOME="$tmp/home/.config"
mkdir -p "$HOME"
unset HomeDrive HomePath HOMEDRIVE HOMEPATH 2>/dev/null || true
# The installed letterhead, converted by the installed program.
"$p/bin/qx-text" --convert-to rtf --outdir "$tmp/out" "$p/share/qx-text/Briefkopf.txm"
head -c 5 "$tmp/out/Briefkopf.rtf" | grep -q '{\\rtf' || fail "Briefkopf.rtf ist kein RTF"
# A letter needs the starter database and the letterhead found in the installed data folder.
"$p/bin/qx-text" --letter 1 --convert-to txt --outdir "$tmp/letters"
letter=$tmp/letters/Brief_1.txt
[ -s "$letter" ] || fail "kein Brief geschrieben"
# Address 1 of the starter database, greeted as its title asks.
for line in "Karl Becker" "Hauptstraße 5" "10115 Berlin" "Sehr geehrter Herr Becker,"; do
  grep -q "$line" "$letter" || fail "\"$line\" fehlt im Brief"
done
[ -s "$HOME/QX-Kontorix/Briefkopf.txm" ] || fail "Briefkopf nicht in den Arbeitsordner kopiert"
echo "installiert und gestartet: $(ls "$tmp/letters" | head -n 1)"
