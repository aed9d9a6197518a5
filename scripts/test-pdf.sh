#!/usr/bin/env bash
# The PDF documents that plaxet-cli create-files writes, checked by programs
# that read PDF files: the example forms and a 300-item form on letter and A4
# paper. qpdf finds no error, pdffonts lists only the two standard fonts,
# pdftotext reads every text of the HTM document in the same order, and
# Ghostscript and MuPDF draw every page without a warning. An invoice in
# euros gives its payment code back to a QR reader. Names in other scripts
# read back as typed, from the page too (tesseract). An invoice with its
# e-invoice, an archival file, is checked by tests/scripts/einvoice_test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset native >/dev/null
cmake --build --preset native --target plaxet-cli test_output >/dev/null
cli=$(realpath build/native/bin/plaxet-cli)

work=$(mktemp -d "${TMPDIR:-/tmp}/plaxet-pdf.XXXXXX")
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
cp examples/*.json examples/quillet.ini "$work"/

# A long invoice: wrapped descriptions, PDF's own syntax characters, an empty
# description, an amount of a trillion, computed rows.
python3 - "$work/long.json" <<'PY'
import json, sys
items = []
for i in range(1, 301):
    if i % 50 == 0:
        items.append({"date": "", "description": "Subtotal", "cost": ""})
    elif i == 7:
        items.append({"date": "3/7/24", "description": "( ) \\ % < > (unbalanced ( \\) %%EOF", "cost": "1"})
    elif i == 8:
        items.append({"date": "3/8/24", "description": "", "cost": "2.25"})
    elif i == 9:
        items.append({"date": "3/9/24", "description": "A trillion", "cost": "1000000000000"})
    elif i % 11 == 0:
        items.append({"date": "3/10/24", "description": "Item %d: primer, two coats on every wall of the hall, "
                      "the stairs and the landing, sanded between coats and cleaned up after" % i, "cost": "%d.75" % i})
    else:
        items.append({"date": "3/10/24", "description": "Item %d paint" % i, "cost": "%d.50" % i})
items.append({"date": "", "description": "Tax (8.25%)", "cost": ""})
form = {"date": "03/15/2024", "type": "invoice",
        "addressee": {"name": "Ann (Smith) \\ Jones", "address": "1 Elm St", "city": "Springfield", "phone": "555 0199"},
        "items": items, "notes": ["First note < second >", "100% done"]}
json.dump(form, open(sys.argv[1], "w"))
PY

failures=0
fail() {
  echo "pdf: $*" >&2
  failures=$((failures + 1))
}

# The texts of the HTM document in their order must be read from the PDF in the same order.
check_reading_order() {
  python3 - "$1" "$2" <<'PY' || return 1
import html, re, sys
page, text = sys.argv[1], open(sys.argv[2], encoding="utf-8").read()
body = open(page, encoding="latin-1").read().split("<body>", 1)[1]
texts = [html.unescape(t) for t in re.findall(r">([^<>]+)<", body)]
texts = ["".join(t.split()) for t in texts if t.strip()]
# Programs that copy text out mark right-to-left runs with direction controls,
# and break the line where a run is drawn left of the one before: the order
# of the characters is what counts.
text = re.sub("[\u200e\u200f\u202a-\u202e]", "", text)
flat = "".join(text.split())
at = 0
for t in texts:
    found = flat.find(t, at)
    if found < 0:
        sys.exit("'%s' not found after position %d of the PDF's text" % (t, at))
    at = found + len(t)
PY
}

standard_fonts="Helvetica Type 1 WinAnsi no
Helvetica-Bold Type 1 WinAnsi no"

# check_pdf PDF HTM [FONTS]: FONTS as pdffonts lists them, a subset's tag as XXXXXX.
check_pdf() {
  local pdf=$1 html=$2 expected_fonts=${3:-$standard_fonts} out
  out=$(qpdf --check "$pdf" 2>&1) || fail "$pdf: qpdf --check: $out"
  grep -q "No syntax or stream encoding errors found" <<<"$out" || fail "$pdf: qpdf: $out"
  local fonts
  fonts=$(pdffonts "$pdf" | tail -n +3 | awk '{print $1, $2, $3, $4, $5}' |
    sed 's/^[A-Z]\{6\}+/XXXXXX+/' | sort)
  [ "$fonts" = "$expected_fonts" ] || fail "$pdf: fonts: $fonts"
  pdftotext -raw "$pdf" "$pdf.txt"
  check_reading_order "$html" "$pdf.txt" || fail "$pdf: reading order"
  local pages
  pages=$(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}')
  grep -q "Page $pages of $pages" "$pdf.txt" || fail "$pdf: no 'Page $pages of $pages'"
  out=$(gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=png16m -r40 -sOutputFile="$pdf-gs-%d.png" "$pdf" 2>&1) ||
    fail "$pdf: Ghostscript failed: $out"
  [ -z "$out" ] || fail "$pdf: Ghostscript: $out"
  # MuPDF's own build says it lacks colour management; that is no finding about the file.
  out=$(mutool draw -q -r 40 -o "$pdf-mu-%d.png" "$pdf" 2>&1 | grep -v "ICC support is not available" || true)
  [ -z "$out" ] || fail "$pdf: mutool draw: $out"
  local drawn
  for tool in gs mu; do
    drawn=$(find "$(dirname "$pdf")" -name "$(basename "$pdf")-$tool-*.png" | wc -l)
    [ "$drawn" -eq "$pages" ] || fail "$pdf: $tool drew $drawn of $pages pages"
  done
  echo "pdf: $(basename "$pdf"): $pages page(s) checked"
}

for json in "$work"/*.json; do
  form=${json%.json}.plx
  "$cli" make "$json" "$form" >/dev/null
  for paper in letter a4; do
    "$cli" create-files "$form" --sender "$work/quillet.ini" --paper "$paper" >/dev/null
    mkdir -p "$work/$paper"
    cp "${form%.plx}.pdf" "$work/$paper/"
    check_pdf "$work/$paper/$(basename "${form%.plx}.pdf")" "${form%.plx}.htm"
  done
done

# Names outside code page 1252 come from embedded faces cut down to them:
# each character from the first face that has it (DejaVu Sans, its bold face
# in the bold addressee block, then the faces fontconfig finds for 王芳,
# 김민준 and 𝄞), Hebrew and Arabic ordered right to left and joined, and
# copying text gives them back as typed. No character is left undrawn, so
# Create Files says nothing of missing fonts.
mkdir -p "$work/names"
cat >"$work/names/names.json" <<'JSON'
{"date": "03/15/2024", "type": "invoice",
 "addressee": {"name": "Łukasz Dąbrowski", "address": "王芳 田中 김민준", "city": "שלום עולם",
               "phone": "مرحبا بالعالم"},
 "items": [{"date": "3/4/24", "description": "Paint for Şükrü ✓ ★ 𝄞", "cost": "10"},
           {"date": "3/5/24", "description": "Nguyễn Văn An: שלום (12) مرحبا नमस्ते", "cost": "5"}]}
JSON
"$cli" make "$work/names/names.json" "$work/names/names.plx" >/dev/null
"$cli" create-files "$work/names/names.plx" --sender "$work/quillet.ini" >"$work/names/out.txt"
grep -q "no font on this computer" "$work/names/out.txt" && fail "names.pdf: $(cat "$work/names/out.txt")"
check_pdf "$work/names/names.pdf" "$work/names/names.htm" "$standard_fonts
XXXXXX+DejaVuSans CID TrueType Identity-H yes
XXXXXX+DejaVuSans-Bold CID TrueType Identity-H yes
XXXXXX+NotoSansDevanagari-Regular CID TrueType Identity-H yes
XXXXXX+Symbola CID TrueType Identity-H yes
XXXXXX+WenQuanYiZenHei CID TrueType Identity-H yes"
# check_names PDF: the names as a reader sees them, whichever fonts drew them.
check_names() {
  local pdf=$1 name read seen
  pdftotext "$pdf" "$pdf.layout.txt"
  for name in "Łukasz Dąbrowski" "Nguyễn Văn An" "王芳 田中 김민준" "Şükrü ✓ ★ 𝄞" "שלום עולם" \
    "مرحبا بالعالم" "नमस्ते"; do
    grep -qF "$name" "$pdf.layout.txt" || fail "$pdf: pdftotext does not give '$name' back"
  done
  # Every character is drawn with a glyph of its font: no CID of an embedded
  # face shows glyph 0, the font's missing-glyph box.
  qpdf --qdf --object-streams=disable "$pdf" "$pdf.qdf"
  /usr/bin/python3 - "$pdf.qdf" <<'PY' || fail "$pdf: a character is drawn as the missing glyph"
import re, sys
data = open(sys.argv[1], "rb").read()
maps = re.findall(rb"/CIDToGIDMap (\d+) 0 R", data)
assert maps, "no embedded face"
for number in maps:
    stream = re.search(rb"\n%s 0 obj\n<<.*?>>\nstream\n" % number, data, re.S)
    length = int(re.search(rb"/Length (\d+)", stream.group(0)).group(1))
    body = data[stream.end():stream.end() + length]
    glyphs = [int.from_bytes(body[i:i + 2], "big") for i in range(2, len(body), 2)]
    if 0 in glyphs:
        sys.exit("object %s: CID %d shows glyph 0" % (number.decode(), glyphs.index(0) + 1))
PY
  # The addressee block rendered and read back by optical character
  # recognition, one script at a time.
  pdftoppm -r 300 -png -x 200 -y 520 -W 1000 -H 300 "$pdf" "$pdf-seen"
  for read in "chi_sim 王芳" "heb שלום" "ara مرحبا"; do
    seen=$(tesseract "$pdf-seen-1.png" - -l "${read%% *}" 2>/dev/null | tr -d ' \n\u200e\u200f')
    grep -qF "${read#* }" <<<"$seen" || fail "$pdf: optical reading finds no '${read#* }' in: $seen"
  done
}
check_names "$work/names/names.pdf"

# The same form through the Windows program, whose fonts Wine finds among
# the same installed fonts (DirectWrite) and whose engine is Uniscribe.
source scripts/windows-target.sh
if plaxet_windows_target; then
  mkdir -p "$work/windows"
  cp "$work/names/names.plx" "$work/quillet.ini" "$work/windows/"
  wine_run=$PWD/scripts/wine-run.sh
  (cd "$work/windows" &&
    timeout 300 "$wine_run" "$PLAXET_WINDOWS_BIN/plaxet-cli.exe" create-files names.plx \
      --sender quillet.ini >out.txt 2>&1) ||
    fail "windows names.pdf: $(cat "$work/windows/out.txt")"
  grep -q "no font on this computer" "$work/windows/out.txt" && fail "windows names.pdf: $(cat "$work/windows/out.txt")"
  [ -f "$work/windows/names.pdf" ] && check_names "$work/windows/names.pdf"
  pdffonts "$work/windows/names.pdf" | tail -n +3 | awk '$5 != "yes" && $1 !~ /^Helvetica/ {exit 1}' ||
    fail "windows names.pdf: a font is not embedded"
else
  echo "pdf: $PLAXET_WINDOWS_REASON: the Windows program's PDF is not checked"
fi

# A character no font on the machine has is said once, after writing.
sed 's/✓/🫨/' "$work/names/names.json" >"$work/names/lacking.json"
"$cli" make "$work/names/lacking.json" "$work/names/lacking.plx" >/dev/null
"$cli" create-files "$work/names/lacking.plx" --sender "$work/quillet.ini" >"$work/names/out.txt"
grep -q "U+1FAE8) as a box or a stand-in, as no font on this computer has it" "$work/names/out.txt" ||
  fail "lacking.pdf: no word of the character no font has: $(cat "$work/names/out.txt")"

# An invoice with its number, due date and the buyer's and seller's tax
# details: every one of them reads back in the HTM page's order.
mkdir -p "$work/taxed"
cat >"$work/taxed/business.json" <<'JSON'
{"name": "Berg Gardening Ltd", "street": "Hauptstraße 1", "postcode": "10115", "city": "Berlin",
 "country": "DE", "vatId": "DE123456789", "iban": "DE89 3704 0044 0532 0130 00", "bic": "COBADEFFXXX",
 "paymentTerms": "Payable within 30 days without deduction.", "paymentDays": 30}
JSON
cat >"$work/taxed/taxed.json" <<'JSON'
{"date": "03/15/2024", "type": "invoice", "number": "2024-0017",
 "addressee": {"name": "Anna Nowak", "address": "Rynek 1", "city": "Kraków"},
 "buyer": {"vatId": "PL5261040828", "reference": "PO 4711"},
 "items": [{"description": "Hedge", "cost": "40"}]}
JSON
"$cli" make "$work/taxed/taxed.json" "$work/taxed/taxed.plx" >/dev/null
"$cli" create-files "$work/taxed/taxed.plx" --sender "$work/quillet.ini" \
  --business "$work/taxed/business.json" >/dev/null
check_pdf "$work/taxed/taxed.pdf" "$work/taxed/taxed.htm"
for text in "Invoice No. 2024-0017" "Due by April 14, 2024" "VAT ID: PL5261040828" \
  "Your reference: PO 4711" "Payable within 30 days without deduction." \
  "Berg Gardening Ltd, Hauptstraße 1, 10115 Berlin, DE" "VAT ID: DE123456789" \
  "IBAN: DE89 3704 0044 0532 0130 00, BIC: COBADEFFXXX"; do
  grep -qF "$text" "$work/taxed/taxed.pdf.txt" || fail "taxed.pdf: pdftotext does not give '$text' back"
done

# An invoice of a business that takes euros by transfer carries its payment
# code: read from the PDF drawn at 300 dpi and from the HTM page's picture,
# it gives exactly the text a banking app wants. The code is not read from
# the RTF, which has none.
mkdir -p "$work/pay"
sed 's/"paymentDays": 30}/"paymentDays": 30, "currency": "EUR"}/' "$work/taxed/business.json" >"$work/pay/business.json"
sed 's/"cost": "40"}/"cost": "1234.5"}/' "$work/taxed/taxed.json" >"$work/pay/pay.json"
"$cli" make "$work/pay/pay.json" "$work/pay/pay.plx" >/dev/null
"$cli" create-files "$work/pay/pay.plx" --sender "$work/quillet.ini" \
  --business "$work/pay/business.json" >/dev/null
check_pdf "$work/pay/pay.pdf" "$work/pay/pay.htm"
payment=$'BCD\n002\n1\nSCT\nCOBADEFFXXX\nBerg Gardening Ltd\nDE89370400440532013000\nEUR1234.50\n\n\n2024-0017'
pdftoppm -r 300 -png "$work/pay/pay.pdf" "$work/pay/page"
read_back=$(zbarimg --raw -q "$work/pay"/page-*.png 2>/dev/null) || true
[ "$read_back" = "$payment" ] || fail "pay.pdf: the payment code reads '$read_back'"
python3 - "$work/pay/pay.htm" "$work/pay/code.svg" <<'PY'
import re, sys
page = open(sys.argv[1], encoding="utf-8").read()
open(sys.argv[2], "w").write(re.search(r"<svg .*?</svg>", page, re.S).group(0))
PY
rsvg-convert -z 4 "$work/pay/code.svg" -o "$work/pay/code.png"
read_back=$(zbarimg --raw -q "$work/pay/code.png" 2>/dev/null) || true
[ "$read_back" = "$payment" ] || fail "pay.htm: the payment code reads '$read_back'"
grep -q "<svg" "$work/taxed/taxed.htm" && fail "taxed.htm: a payment code without euros"

# Whether the markup after "Total due" shows the amount before the next row.
shows_total() {
  python3 - "$1" "$2" <<'PY'
import sys
text = open(sys.argv[1], encoding="latin-1").read()
at = text.find("Total due")
sys.exit(0 if at >= 0 and sys.argv[2] in text[at:at + 300] else 1)
PY
}

# The rows add up to the total they print, in every document: three rows of
# half a cent with a tax, and two tax rates in sections.
mkdir -p "$work/sums"
cat >"$work/sums/halves.json" <<'JSON'
{"date": "03/15/2024", "type": "invoice", "addressee": {"name": "Jo Smith"},
 "items": [{"date": "", "description": "a", "cost": "4.995"}, {"date": "", "description": "b", "cost": "4.995"},
           {"date": "", "description": "c", "cost": "4.995"}, {"date": "", "description": "Tax (10%)", "cost": ""}]}
JSON
cat >"$work/sums/two-rates.json" <<'JSON'
{"date": "03/15/2024", "type": "invoice", "addressee": {"name": "Jo Smith"},
 "items": [{"date": "", "description": "Books", "cost": "39.98"}, {"date": "", "description": "Tax (19%)", "cost": ""},
           {"date": "", "description": "Subtotal", "cost": ""}, {"date": "", "description": "Food", "cost": "98.09"},
           {"date": "", "description": "Tax (7%)", "cost": ""}]}
JSON
for case in halves:16.50 two-rates:152.54; do
  name=${case%%:*} total=${case#*:}
  "$cli" make "$work/sums/$name.json" "$work/sums/$name.plx" >/dev/null
  "$cli" create-files "$work/sums/$name.plx" --sender "$work/quillet.ini" >/dev/null
  pdftotext -raw "$work/sums/$name.pdf" "$work/sums/$name.txt"
  grep -q "Total due $total" "$work/sums/$name.txt" || fail "$name.pdf: no 'Total due $total'"
  for document in htm rtf; do
    shows_total "$work/sums/$name.$document" "$total" || fail "$name.$document: no total $total"
  done
done

# A system whose code page the standard fonts cannot show (Cyrillic) gets a
# PDF too, with the Cyrillic letters from the embedded font.
cat >"$work/sums/cyrillic.json" <<'JSON'
{"date": "03/15/2024", "type": "invoice", "addressee": {"name": "Иван Петров"},
 "items": [{"date": "", "description": "Краска", "cost": "10"}]}
JSON
"$cli" --codepage 1251 make "$work/sums/cyrillic.json" "$work/sums/cyrillic.plx" >/dev/null
"$cli" --codepage 1251 create-files "$work/sums/cyrillic.plx" --sender "$work/quillet.ini" >/dev/null
check_pdf "$work/sums/cyrillic.pdf" "$work/sums/cyrillic.htm" "$standard_fonts
XXXXXX+DejaVuSans CID TrueType Identity-H yes
XXXXXX+DejaVuSans-Bold CID TrueType Identity-H yes"
grep -qF "Иван Петров" "$work/sums/cyrillic.pdf.txt" || fail "cyrillic.pdf: the name does not read back"

pages=$(pdfinfo "$work/letter/long.pdf" | awk '/^Pages:/ {print $2}')
[ "$pages" -ge 8 ] || fail "long.pdf: only $pages pages for 300 items"
# The creation date comes from SOURCE_DATE_EPOCH, so two runs give the same bytes.
export SOURCE_DATE_EPOCH=1700000000
"$cli" create-files "$work/long.plx" --sender "$work/quillet.ini" >/dev/null
cp "$work/long.pdf" "$work/first.pdf"
"$cli" create-files "$work/long.plx" --sender "$work/quillet.ini" >/dev/null
cmp -s "$work/long.pdf" "$work/first.pdf" || fail "two runs at one SOURCE_DATE_EPOCH differ"
pdfinfo "$work/long.pdf" | grep -q "CreationDate: *Tue Nov 14 22:13:20 2023" ||
  fail "creation date: $(pdfinfo "$work/long.pdf" | grep CreationDate)"

if [ "$failures" -ne 0 ]; then
  echo "pdf: $failures failure(s)" >&2
  exit 1
fi
echo "pdf: all documents passed"
