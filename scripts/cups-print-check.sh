#!/usr/bin/env bash
# Prints a three-page document through the program's print routine to a local CUPS
# queue with a PDF printer, then checks the PDF that the queue writes.
# Installs and starts Debian's cups and printer-driver-cups-pdf; not part of CI.
#   scripts/cups-print-check.sh [BUILD_DIR]
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
program="$build/qx-text"
queue="QX-PDF"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

[ -x "$program" ] || { echo "Programm fehlt: $program (zuerst bauen)"; exit 2; }

need=()
for p in cups cups-client printer-driver-cups-pdf poppler-utils imagemagick; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then
  echo "Installiere: ${need[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}"
fi

# The PDF printer writes every job into one known folder.
out="/var/spool/cups-pdf/qx-check"
$SUDO mkdir -p "$out"
$SUDO chmod 1777 "$out"
conf=/etc/cups/cups-pdf.conf
if ! grep -q "^Out $out\$" "$conf"; then
  $SUDO sed -i '/^Out /d; /^AnonDirName /d' "$conf"
  printf 'Out %s\nAnonDirName %s\n' "$out" "$out" | $SUDO tee -a "$conf" >/dev/null
fi

# Start the scheduler unless it runs (containers have no service manager); one that
# this script started is stopped again at the end.
cupsd_pid=""
work="$(mktemp -d)"
cleanup() {
  rm -rf "$work"
  if [ -n "$cupsd_pid" ]; then $SUDO kill "$cupsd_pid" 2>/dev/null || true; fi
}
trap cleanup EXIT
if ! lpstat -r 2>/dev/null | grep -q "is running"; then
  if command -v systemctl >/dev/null && systemctl is-system-running >/dev/null 2>&1; then
    $SUDO systemctl restart cups
  else
    $SUDO /usr/sbin/cupsd -f &
    cupsd_pid=$!
  fi
  for _ in $(seq 1 20); do lpstat -r 2>/dev/null | grep -q "is running" && break; sleep 0.5; done
fi
lpstat -r | grep -q "is running" || { echo "Der CUPS-Dienst startet nicht."; exit 1; }

if ! lpstat -p "$queue" >/dev/null 2>&1; then
  ppd="$(find /usr/share/ppd -iname 'CUPS-PDF_opt.ppd*' | head -n1)"
  [ -n "$ppd" ] || ppd="$(find /usr/share/ppd -iname 'CUPS-PDF*.ppd*' | head -n1)"
  $SUDO lpadmin -p "$queue" -E -v cups-pdf:/ -P "$ppd"
fi
$SUDO cupsenable "$queue"
$SUDO cupsaccept "$queue"

printf 'Seite eins: Sehr geehrte Damen und Herren,\n\fSeite zwei: die Lieferung kommt.\n\fSeite drei: Mit freundlichen Grüßen\n' > "$work/brief.txt"
"$program" --convert-to txm --outdir "$work" "$work/brief.txt" >/dev/null
before="$(ls -1 "$out" 2>/dev/null | wc -l)"

echo "Drucke $work/brief.txm auf $queue ..."
"$program" --print --printer "$queue" "$work/brief.txm"

pdf=""
for _ in $(seq 1 60); do
  if [ "$(ls -1 "$out" | wc -l)" -gt "$before" ]; then
    pdf="$out/$(ls -1t "$out" | head -n1)"
    sleep 1 # let the backend finish writing
    break
  fi
  sleep 1
done
[ -n "$pdf" ] || { echo "Kein PDF angekommen in $out"; lpstat -W completed -o "$queue" || true; exit 1; }

pages="$(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}')"
echo "Angekommen: $pdf ($pages Seiten)"
# The PDF printer redraws the job through PostScript and keeps the glyphs without
# their text, so each arrived page is compared as a picture with the program's own
# PDF export of the same document, whose text is checked.
"$program" --convert-to pdf --outdir "$work" "$work/brief.txt" >/dev/null
fail=0
[ "$pages" = 3 ] || { echo "Erwartet 3 Seiten, gefunden $pages"; fail=1; }
for n in 1 2 3; do
  word=$(case $n in 1) echo eins;; 2) echo zwei;; 3) echo drei;; esac)
  pdftotext -f "$n" -l "$n" "$work/brief.pdf" - | grep -q "Seite $word" || { echo "Vorlage Seite $n: Text fehlt"; fail=1; }
  pdftoppm -r 40 -gray -f "$n" -l "$n" -singlefile "$pdf" "$work/arrived$n" 2>/dev/null
  pdftoppm -r 40 -gray -f "$n" -l "$n" -singlefile "$work/brief.pdf" "$work/expected$n"
  diff="$(compare -metric AE -fuzz 40% "$work/arrived$n.pgm" "$work/expected$n.pgm" null: 2>&1 || true)"
  ink="$(convert "$work/arrived$n.pgm" -threshold 50% -format '%[fx:round(w*h*(1-mean))]' info:)"
  echo "Seite $n: $ink dunkle Punkte, $diff Punkte anders als die Vorlage"
  { [ "${diff%%.*}" -lt 30 ] && [ "$ink" -gt 50 ]; } || { echo "Seite $n weicht ab"; fail=1; }
done
[ "$fail" = 0 ] && echo "OK: der Druck über CUPS kam vollständig an."
exit "$fail"
