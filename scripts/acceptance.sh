#!/usr/bin/env bash
# Slow acceptance check, not part of ./test: opens every document that
# ./run created in a real word processor (RTF to PDF) and a real browser
# (HTML to PDF), and checks that each shows its heading word and total label.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(libreoffice-writer-nogui chromium fonts-dejavu-core poppler-utils)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

./run >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp out/examples/*.rtf out/examples/*.htm "$work"/
chmod u+w "$work"/*

passed=0 failed=0
check_text() { # document, text file, words...
  local doc=$1 file=$2; shift 2
  for word in "$@"; do
    if ! grep -qF -- "$word" "$file" 2>/dev/null; then
      echo "FAIL $doc: '$word' not shown"
      failed=$((failed + 1))
      return
    fi
  done
  echo "ok   $doc"
  passed=$((passed + 1))
}
check() { # document, pdf, words...
  local doc=$1 pdf=$2; shift 2
  pdftotext "$pdf" "$pdf.txt" 2>/dev/null || true
  check_text "$doc" "$pdf.txt" "$@"
}

for rtf in "$work"/*.rtf; do
  timeout 300 libreoffice --headless --convert-to pdf --outdir "$work/rtf" "$rtf" >/dev/null 2>&1 || true
done
for htm in "$work"/*.htm; do
  base=$(basename "$htm" .htm)
  timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$work/profile" --print-to-pdf="$work/htm-$base.pdf" "file://$htm" \
    >/dev/null 2>&1 || true
done

# A form with names outside code page 1252: the word processor's text of
# the RTF document and the browser's reading of the HTML page hold them.
names=(Łukasz Nguyễn 王芳)
cli=build/native/bin/plaxet-cli
cat >"$work/names.json" <<'JSON'
{"date": "03/15/2024", "type": "invoice",
 "addressee": {"name": "Łukasz Dąbrowski", "address": "Nguyễn Văn An", "city": "王芳"},
 "items": [{"date": "3/4/24", "description": "Paint", "cost": "10"}]}
JSON
mkdir -p "$work/names"
"$cli" make "$work/names.json" "$work/names/names.plx"
"$cli" save-sender "$work/names/quillet.ini" "Hill Paint Co."
"$cli" create-files "$work/names/names.plx" --sender "$work/names/quillet.ini" >/dev/null
timeout 300 libreoffice --headless --convert-to "txt:Text (encoded):UTF8" --outdir "$work/names" \
  "$work/names/names.rtf" >/dev/null 2>&1 || true
timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
  --disable-background-networking --disable-component-update --disable-sync \
  --user-data-dir="$work/profile" --dump-dom "file://$work/names/names.htm" \
  >"$work/names/names-dom.html" 2>/dev/null || true
check_text names.rtf "$work/names/names.txt" "${names[@]}"
check_text names.htm "$work/names/names-dom.html" "${names[@]}"

check invoice.rtf "$work/rtf/invoice.pdf" INVOICE "Total due" "Please remit"
check receipt.rtf "$work/rtf/receipt.pdf" RECEIPT "Total paid"
check estimate.rtf "$work/rtf/estimate.pdf" ESTIMATE "Estimated total"
check invoice.htm "$work/htm-invoice.pdf" INVOICE "Total due" "Please remit"
check receipt.htm "$work/htm-receipt.pdf" RECEIPT "Total paid"
check estimate.htm "$work/htm-estimate.pdf" ESTIMATE "Estimated total"
echo "acceptance: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
