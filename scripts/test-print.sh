#!/usr/bin/env bash
# Printing on a real printer under Wine: a private print spooler with a PDF
# printer as its default, a Wine prefix made while it runs (so Wine takes
# that printer as the system's default), and a short and a long help topic
# printed once through the help viewer's print dialog and once on the
# default printer. The PDF files the printer makes are read back with
# pdftotext: the heading and the page number on every page, every body line
# in order, the texts drawn on each page, and the number of pages that the
# print-out's pagination gave.
#
# Needs root (the PDF printer's back end writes as root and reads its
# settings from /etc/cups). Fails with a line saying why when the spooler
# cannot run here.
set -euo pipefail
cd "$(dirname "$0")/.."

fail() {
  echo "print: FAILED: $*"
  exit 1
}

source scripts/windows-target.sh
source scripts/desktop-helpers.sh
run_on_display "$0" "$@"
use_windows_build print print_check plaxet-cli || exit 1

[ "$(id -u)" -eq 0 ] || fail "the print spooler and its PDF printer need root; run as root"
command -v cupsd >/dev/null || fail "no print spooler (cupsd) installed: run scripts/setup.sh"
[ -x /usr/lib/cups/backend/cups-pdf ] || fail "no PDF printer back end (printer-driver-cups-pdf): run scripts/setup.sh"
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
[ -f "$ppd" ] || fail "the PDF printer's description $ppd is missing"
command -v pdftotext >/dev/null || fail "pdftotext (poppler-utils) is missing: run scripts/setup.sh"

work=/tmp/plaxet-print-$$
queue=PlaxetPDF
# The back end reads the settings named by its device address from /etc/cups.
pdf_settings=/etc/cups/cups-pdf-plaxet-$$.conf
cupsd_pid=""
cleanup() {
  if [ -n "$cupsd_pid" ]; then
    kill "$cupsd_pid" 2>/dev/null || true
    wait "$cupsd_pid" 2>/dev/null || true
  fi
  if [ -d "$work/wineprefix" ]; then WINEPREFIX=$work/wineprefix wineserver -k 2>/dev/null || true; fi
  rm -f "$pdf_settings"
  rm -rf "$work"
}
trap cleanup EXIT

# --- the spooler: its own configuration, socket, spool and logs under $work
mkdir -p "$work/etc/ppd" "$work/spool/tmp" "$work/cache" "$work/state" "$work/log" "$work/pdf"
chmod 755 "$work" "$work/etc"
chgrp lp "$work/spool" "$work/spool/tmp"
chmod 710 "$work/spool"
chmod 1770 "$work/spool/tmp"
socket=$work/cups.sock
cat >"$work/etc/cupsd.conf" <<EOF
Listen $socket
LogLevel warn
WebInterface No
Browsing Off
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
cat >"$work/etc/cups-files.conf" <<EOF
ServerRoot $work/etc
RequestRoot $work/spool
TempDir $work/spool/tmp
CacheDir $work/cache
StateDir $work/state
ErrorLog $work/log/error_log
AccessLog $work/log/access_log
PageLog $work/log/page_log
User lp
Group lp
SystemGroup root
EOF
printf 'Out %s\nLabel 0\nTitlePref 1\n' "$work/pdf" >"$pdf_settings"

export CUPS_SERVER=$socket
cupsd -f -c "$work/etc/cupsd.conf" -s "$work/etc/cups-files.conf" >"$work/log/cupsd.out" 2>&1 &
cupsd_pid=$!
spooler_answers() { lpstat -r | grep -q "is running"; }
wait_for 30 spooler_answers ||
  fail "the print spooler could not run here: $(tail -3 "$work/log/cupsd.out" "$work/log/error_log" 2>/dev/null | tr '\n' ' ')"
lpadmin -p "$queue" -E -v "cups-pdf:/plaxet-$$" -P "$ppd" >"$work/log/lpadmin.out" 2>&1 ||
  fail "the PDF printer could not be set up: $(cat "$work/log/lpadmin.out")"
lpadmin -d "$queue" >/dev/null 2>&1 || fail "the PDF printer could not be made the default"

# --- a Wine prefix made now, so that it takes the spooler's default printer
export WINEPREFIX=$work/wineprefix
timeout 300 scripts/wine-run.sh wineboot --init >/dev/null 2>&1 || true
timeout 120 wineserver -w || true
device=$(timeout 120 scripts/wine-run.sh reg query 'HKCU\Software\Microsoft\Windows NT\CurrentVersion\Windows' /v Device 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ *//p')
case "$device" in
  "$queue,"*) ;;
  *) fail "Wine does not see the PDF printer as its default (found '$device'); its architecture's libcups2 may be missing" ;;
esac

# --- a help file with a short topic (a tab in it) and one of several pages
mkdir -p "$work/help"
printf 'Title: Short topic\n\nA short topic for printing.\nIts second line\twith a tab.\n' >"$work/help/010-short.txt"
{
  printf 'Title: Long topic\n\n'
  for i in $(seq -w 1 140); do printf 'Body line %s of the long topic, written to fill pages.\n' "$i"; done
} >"$work/help/020-long.txt"
timeout 120 scripts/wine-run.sh "$bin/plaxet-cli.exe" help-build "$(windows_path "$work/help")" \
  "$(windows_path "$work/print.ahp")" >"$work/log/help-build.out" 2>&1 ||
  fail "the help file was not built: $(cat "$work/log/help-build.out")"

# The one new PDF file in the output folder, once the printer has finished it.
pdf_count() { find "$work/pdf" -name '*.pdf' | wc -l; }
pdf_count_is() { [ "$(pdf_count)" -eq "$1" ]; }
# The spooler has no job left: the PDF printer has written its file whole.
queue_empty() { [ -z "$(lpstat -o 2>/dev/null)" ]; }
# Waits for the one new PDF file and names it.
new_pdf() {
  wait_for 60 queue_empty && wait_for 10 pdf_count_is $(($1 + 1)) || return 1
  ls -t "$work/pdf"/*.pdf | head -1
}

# Words separated by single blanks, as pdftotext's layout may space them.
squeeze() { tr -s ' \t' '  ' | sed 's/^ //; s/ $//'; }

# Checks one printed PDF against the topic's source and the page count.
check_pdf() {
  local pdf=$1 source=$2 pages=$3 label=$4 text=$work/check.txt
  pdftotext -layout "$pdf" "$text" || { echo "$label: pdftotext could not read $pdf"; return 1; }
  local heading
  heading=$(sed -n 's/^Title: //p' "$source")
  # pdftotext ends every page with a form feed.
  local found
  found=$(tr -cd '\f' <"$text" | wc -c)
  [ "$found" -eq "$pages" ] || { echo "$label: $found pages printed, the print-out's pagination gave $pages"; return 1; }
  local page
  for page in $(seq 1 "$pages"); do
    awk -v RS='\f' -v n="$page" 'NR == n' "$text" | squeeze >"$work/page.txt"
    grep -q -F "$heading" "$work/page.txt" || { echo "$label: page $page lacks the heading '$heading'"; return 1; }
    grep -q -F "Page $page" "$work/page.txt" || { echo "$label: page $page lacks its number"; return 1; }
  done
  # Every body line of the source (tabs expanded to stops of 8), in order.
  sed '1,/^$/d' "$source" | expand -t 8 | squeeze | grep -v '^$' >"$work/expected.txt"
  squeeze <"$text" >"$work/printed.txt"
  awk 'NR == FNR { want[++n] = $0; next }
       i < n && index($0, want[i + 1]) { i++ }
       END { if (i < n) { print "missing or out of order: " want[i + 1]; exit 1 } }' \
    "$work/expected.txt" "$work/printed.txt" || { echo "$label: a body line is not printed in order"; return 1; }
}

# Checks that the texts the print-out drew on each page are on that page.
check_drawn() {
  local pdf=$1 layout=$2 label=$3 text=$work/drawn-check.txt
  pdftotext -layout "$pdf" "$text"
  awk -v RS='\f' '{ gsub(/[ \t]+/, " "); printf "%s\f", $0 }' "$text" >"$work/pages.txt"
  awk 'NR == FNR { sub(/^page /, ""); p = $0; sub(/:.*/, "", p); t = $0; sub(/^[0-9]+: /, "", t)
                   gsub(/[ \t]+/, " ", t); sub(/^ /, "", t); sub(/ $/, "", t)
                   if (t != "") { page[++n] = p; want[n] = t }; next }
       { pages[FNR] = $0 }
       END { for (k = 1; k <= n; k++) if (!index(pages[page[k]], want[k])) {
               print "page " page[k] " lacks: " want[k]; exit 1 } }' \
    <(grep '^page ' "$layout") RS='\f' "$work/pages.txt" || { echo "$label: a drawn text is not on its page"; return 1; }
}

mkdir -p build/artifacts
printed=0
for topic in 1 2; do
  source=$(find "$work/help" -name "0${topic}0-*.txt")
  # On the default printer: the layout that was drawn and its page count.
  before=$(pdf_count)
  timeout 120 scripts/wine-run.sh "$bin/print_check.exe" default "$(windows_path "$work/print.ahp")" \
    "$topic" >"$work/default-$topic.txt" 2>"$work/default-$topic.err" ||
    fail "topic $topic on the default printer: $(cat "$work/default-$topic.err")"
  # The Windows console ends its lines in CR LF.
  sed -i 's/\r$//' "$work/default-$topic.txt"
  pages=$(sed -n 's/^pages //p' "$work/default-$topic.txt")
  [ -n "$pages" ] && [ "$pages" -ge 1 ] || fail "topic $topic on the default printer: no page count"
  pdf=$(new_pdf "$before") || fail "topic $topic on the default printer: no PDF came out ($(tail -2 "$work/log/error_log" | tr '\n' ' '))"
  cp "$pdf" "build/artifacts/print-topic-$topic-default.pdf" 2>/dev/null || true
  check_pdf "$pdf" "$source" "$pages" "topic $topic on the default printer" || exit 1
  check_drawn "$pdf" "$work/default-$topic.txt" "topic $topic on the default printer" || exit 1
  echo "print: topic $topic on the default printer: $pages page(s) as laid out"
  printed=$((printed + 1))

  # Through the real help viewer and its print dialog, on the printer the
  # dialog offers (the default): the same pages.
  before=$(pdf_count)
  timeout 120 scripts/wine-run.sh "$bin/print_check.exe" dialog "$(windows_path "$work/print.ahp")" \
    "$topic" >"$work/dialog-$topic.txt" 2>"$work/dialog-$topic.err" ||
    fail "topic $topic through the print dialog: $(cat "$work/dialog-$topic.err")"
  pdf=$(new_pdf "$before") || fail "topic $topic through the print dialog: no PDF came out"
  cp "$pdf" "build/artifacts/print-topic-$topic-dialog.pdf" 2>/dev/null || true
  check_pdf "$pdf" "$source" "$pages" "topic $topic through the print dialog" || exit 1
  echo "print: topic $topic through the print dialog: $pages page(s)"
  printed=$((printed + 1))
done
echo "print: $printed print-outs read back from the PDF printer"
