#!/usr/bin/env bash
# plaxet-cli create-files writes NAME.xml, the e-invoice, beside the documents
# of an invoice that can be one, and the e-invoice checker finds no fatal or
# error rule in it: the example invoice, an exempt business, 300 items under
# two rates, and names in other scripts with a buyer reference (an XRechnung,
# checked with its own rules too). A form that cannot be one gets its
# documents, the reason, and no XML; a receipt gets neither XML nor reason.
# Usage: einvoice_test.sh PLAXET_CLI
# The checker is ../shared/einvoice/validate beside the main checkout, or the
# one PLAXET_EINVOICE_VALIDATE names.
set -euo pipefail
cli=${1:?usage: einvoice_test.sh PLAXET_CLI}
repo=$(cd "$(dirname "$0")/../.." && pwd)
main=$(cd "$repo" && cd "$(git rev-parse --git-common-dir 2>/dev/null || echo .git)/.." && pwd)
validate=${PLAXET_EINVOICE_VALIDATE:-$main/../shared/einvoice/validate}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "einvoice_test: $*" >&2; exit 1; }
[ -x "$validate" ] || fail "the e-invoice checker $validate is missing (set PLAXET_EINVOICE_VALIDATE)"

printf 'Hill Paint Co.\r\n' >"$work/sender.ini"
# FOLDER BUSINESS_JSON: a folder of forms sharing one business file.
business() {
  mkdir -p "$work/$1"
  printf '%s\n' "$2" >"$work/$1/business.json"
}
business vat '{"name": "Hill Paint Co.", "street": "1 Main St", "postcode": "10115",
  "city": "Berlin", "country": "DE", "vatId": "DE123456789", "currency": "EUR",
  "iban": "DE89370400440532013000", "bic": "COBADEFFXXX", "paymentDays": 30,
  "email": "bills@hill.example", "phone": "+49 30 1234567", "contact": "Jo Hill",
  "numbers": {"invoice": "{YYYY}-{####}"}}'
business exempt '{"name": "Klein Design", "street": "Weg 2", "postcode": "50667",
  "city": "K\u00f6ln", "country": "DE", "taxNumber": "214/5678/1234", "sellerId": "KD-0001",
  "currency": "EUR", "vat": "exempt", "paymentTerms": "Payable within 14 days.",
  "exemptionReason": "No VAT is charged as a small business.",
  "numbers": {"invoice": "K-{###}"}}'

# FOLDER NAME: create-files on FOLDER/NAME.json, its output in NAME.out.
create() {
  "$cli" make "$work/$1/$2.json" "$work/$1/$2.plx"
  "$cli" create-files "$work/$1/$2.plx" --sender "$work/sender.ini" \
    --business "$work/$1/business.json" >"$work/$1/$2.out" 2>&1 ||
    fail "create-files $2 failed: $(cat "$work/$1/$2.out")"
}
# FOLDER NAME STANDARD [--xrechnung]: the e-invoice was written, said so and
# passes the checker, and the PDF carries it as an archival file.
expect_valid() {
  grep -qF "and the e-invoice ($3) have been created" "$work/$1/$2.out" ||
    fail "$2: the message does not announce the e-invoice ($3): $(cat "$work/$1/$2.out")"
  "$validate" ${4:-} "$work/$1/$2.xml" >"$work/$1/$2.check" 2>&1 ||
    fail "$2.xml is not a valid e-invoice:
$(cat "$work/$1/$2.check")"
  check_archival_pdf "$work/$1/$2"
}

# BASE: BASE.pdf is an archival file (PDF/A-3B) carrying BASE.xml byte for
# byte, with every font embedded, its metadata and output intent as the
# standard asks (read with Debian's python3-pikepdf), and qpdf, Ghostscript
# and MuPDF read it without a word.
check_archival_pdf() {
  local pdf=$1.pdf out
  out=$(qpdf --check "$pdf" 2>&1) || fail "$pdf: qpdf --check: $out"
  pdffonts "$pdf" | tail -n +3 | awk '$5 != "yes" {exit 1}' ||
    fail "$pdf: a font is not embedded: $(pdffonts "$pdf")"
  rm -rf "$1.attached" && mkdir "$1.attached"
  pdfdetach -saveall -o "$1.attached" "$pdf" || fail "$pdf: pdfdetach failed"
  cmp -s "$1.attached/factur-x.xml" "$1.xml" || fail "$pdf: the attached XML is not $1.xml"
  out=$(/usr/bin/python3 - "$pdf" <<'PY' 2>&1
import sys, pikepdf
pdf = pikepdf.open(sys.argv[1])
meta = pdf.open_metadata()
fx = "{urn:factur-x:pdfa:CrossIndustryDocument:invoice:1p0#}"
found = {"part": meta.get("pdfaid:part"), "conformance": meta.get("pdfaid:conformance"),
         "type": meta.get(fx + "DocumentType"), "file": meta.get(fx + "DocumentFileName"),
         "version": meta.get(fx + "Version"), "level": meta.get(fx + "ConformanceLevel")}
wanted = {"part": "3", "conformance": "B", "type": "INVOICE", "file": "factur-x.xml",
          "version": "1.0", "level": "EN 16931"}
if found != wanted or not str(meta.get("dc:title")).startswith("INVOICE "):
    sys.exit("XMP: %r, title %r" % (found, meta.get("dc:title")))
intent = pdf.Root.OutputIntents[0]
profile = intent.DestOutputProfile
if intent.S != "/GTS_PDFA1" or profile.N != 3 or profile.read_bytes()[12:20] != b"mntrRGB ":
    sys.exit("output intent: %r" % intent)
attached = pdf.Root.AF[0]
if attached.AFRelationship != "/Alternative" or str(attached.UF) != "factur-x.xml":
    sys.exit("attached file: %r" % attached)
ids = pdf.trailer.ID
if len(bytes(ids[0])) != 16 or bytes(ids[0]) != bytes(ids[1]):
    sys.exit("identifier: %r" % ids)
PY
  ) || fail "$pdf: $out"
  out=$(gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=nullpage "$pdf" 2>&1) || fail "$pdf: Ghostscript: $out"
  [ -z "$out" ] || fail "$pdf: Ghostscript: $out"
  out=$(mutool draw -q -r 40 -o "$1-mu-%d.png" "$pdf" 2>&1 | grep -v "ICC support is not available" || true)
  [ -z "$out" ] || fail "$pdf: mutool draw: $out"
}

# The example invoice with the buyer's country.
python3 - "$repo/examples/invoice.json" "$work/vat/example.json" <<'PY'
import json, sys
form = json.load(open(sys.argv[1]))
form["buyer"] = {"country": "US", "city": "Springfield", "postcode": "62704"}
json.dump(form, open(sys.argv[2], "w"))
PY
create vat example
expect_valid vat example "EN 16931"
# Its payment code, drawn at 300 dpi, reads back as the transfer it asks for.
pdftoppm -r 300 -png "$work/vat/example.pdf" "$work/vat/example-page"
paid=$(zbarimg --raw -q "$work/vat/example-page"-*.png 2>/dev/null) || true
due=$(sed -n 's/.*<ram:DuePayableAmount>\(.*\)<.*/\1/p' "$work/vat/example.xml")
[ -n "$due" ] || fail "example.xml: no amount due"
number=$(sed -n 's/.*<ram:ID>\(20[0-9-]*\)<.*/\1/p' "$work/vat/example.xml" | head -1)
expected=$(printf 'BCD\n002\n1\nSCT\nCOBADEFFXXX\nHill Paint Co.\nDE89370400440532013000\nEUR%s\n\n\n%s' "$due" "$number")
[ "$paid" = "$expected" ] || fail "example.pdf: the payment code reads '$paid', not '$expected'"

# 300 items under two rates: a subtotal row between them makes the second
# tax only the items after it.
python3 - "$work/vat/many.json" <<'PY'
import json, sys
items = [{"date": "03/%02d/2024" % (n % 28 + 1), "description": "Item %d" % n,
          "cost": "%d.%02d" % (n % 90, n * 7 % 100)} for n in range(1, 301)]
items[150:150] = [{"description": "Tax (19%)"}, {"description": "Subtotal"}]
items.append({"description": "Tax, 7%"})
json.dump({"date": "03/15/2024", "type": "invoice", "addressee": {"name": "Margaret Ellison"},
           "buyer": {"country": "DE"}, "items": items}, open(sys.argv[1], "w"))
PY
create vat many
expect_valid vat many "EN 16931"

cat >"$work/exempt/exempt.json" <<'JSON'
{"date": "03/15/2024", "type": "invoice", "addressee": {"name": "Firma X"},
 "buyer": {"country": "DE"},
 "items": [{"description": "Logo", "cost": "450"}, {"description": "Flyer", "cost": "120.40"}]}
JSON
create exempt exempt
expect_valid exempt exempt "EN 16931"

# Names in other scripts and markup characters, for a public buyer.
cat >"$work/vat/public.json" <<'JSON'
{"date": "03/15/2024", "type": "invoice",
 "addressee": {"name": "\u0141ukasz D\u0105browski & \u738b\u82b3 <Nguy\u1ec5n>"},
 "buyer": {"country": "DE", "postcode": "10115", "city": "Berlin", "street": "Stra\u00dfe 1",
           "reference": "04011000-12345-34", "email": "einkauf@amt.example",
           "vatId": "DE111111125"},
 "deliveryDate": "03/01/2024",
 "items": [{"date": "03/01/2024", "description": "\u00dcbersetzung \u00ab\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac\u00bb", "cost": "100"},
           {"description": "Discount", "cost": "-10.50"},
           {"description": "Tax (19%)"}]}
JSON
create vat public
expect_valid vat public "XRechnung 3.0" --xrechnung
grep -qF "$(printf '\u738b\u82b3')" "$work/vat/public.xml" || fail "public.xml lost the name in Chinese"

# A tax on a tax cannot be said: the documents are written, the message says
# why, and the e-invoice of the run before is gone.
cp "$work/vat/example.xml" "$work/vat/compound.xml"
cat >"$work/vat/compound.json" <<'JSON'
{"date": "03/15/2024", "type": "invoice", "addressee": {"name": "Anna"}, "buyer": {"country": "DE"},
 "items": [{"description": "Hedge", "cost": "40"}, {"description": "Tax (10%)"},
           {"description": "Tax (5%)"}]}
JSON
create vat compound
grep -qF "No e-invoice was written. Item 3 (" "$work/vat/compound.out" ||
  fail "compound: no reason given: $(cat "$work/vat/compound.out")"
[ -f "$work/vat/compound.pdf" ] || fail "compound: the documents were not written"
[ ! -e "$work/vat/compound.xml" ] || fail "compound: the earlier e-invoice is still there"

# A receipt is no invoice: no e-invoice and nothing said about one.
sed 's/"invoice"/"receipt"/' "$work/vat/compound.json" >"$work/vat/receipt.json"
create vat receipt
grep -qi "e-invoice" "$work/vat/receipt.out" && fail "receipt: $(cat "$work/vat/receipt.out")"
[ ! -e "$work/vat/receipt.xml" ] || fail "a receipt got an e-invoice"
echo "einvoice_test: passed"
