#!/usr/bin/env bash
# The e-invoice side by side with a JavaScript library that makes the same
# kind of e-invoice (by hand; the figures go to docs/PERFORMANCE.md, section
# "E-invoices side by side"). For an XRechnung invoice of 20 and of 1,000
# items it times whole processes, alternating between the two so that the
# machine's load hits both alike:
#   plaxet: `plaxet-cli create-files` of the release build, writing the RTF,
#           HTM, the Factur-X PDF (PDF/A-3 with the XML attached) and NAME.xml;
#   peer:   one node process running the npm package @e-invoice-eu/core
#           2.3.4 through its public API: the XRechnung CII XML, then the
#           Factur-X PDF, from the invoice as the package's JSON and the PDF
#           create-files wrote (made beforehand, not timed).
# Each is run once uncounted, then RUNS times (default 5) in turn; the wall
# time and processor time come from waiting on the process, the peak memory
# from `/usr/bin/time -f %M` in separate runs, also in turn (a child of
# this script's Python would count the Python's own memory).
# Before measuring, both XML files are checked with the offline e-invoice
# checker (with the XRechnung rules) and the peer's totals with ours.
#
# usage: scripts/measure-einvoice.sh [RUNS]
# PLAXET_CLI=PATH measures that plaxet-cli instead of building this tree's;
# PLAXET_PEER_DIR is where the npm package goes (default build/peer, made
# here); PLAXET_EINVOICE_VALIDATE names the checker (default
# ../shared/einvoice/validate beside the main checkout).
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)
runs=${1:-5}
peer_version=2.3.4

fail() { echo "measure-einvoice: $*" >&2; exit 1; }
[ -x /usr/bin/time ] || fail "/usr/bin/time is missing (apt-get install time)"
for tool in node npm; do
  command -v "$tool" >/dev/null || fail "$tool is missing (apt-get install nodejs npm)"
done
main=$(cd "$(git rev-parse --git-common-dir 2>/dev/null || echo .git)/.." && pwd)
validate=${PLAXET_EINVOICE_VALIDATE:-$main/../shared/einvoice/validate}
[ -x "$validate" ] || fail "the e-invoice checker $validate is missing (set PLAXET_EINVOICE_VALIDATE)"

if [ -n "${PLAXET_CLI:-}" ]; then
  cli=$(realpath "$PLAXET_CLI")
else
  cmake --preset release >/dev/null
  cmake --build --preset release --target plaxet-cli >/dev/null
  cli=$(realpath build/release/bin/plaxet-cli)
fi

# The peer, installed with npm outside the sources (build/ is not tracked).
peer=${PLAXET_PEER_DIR:-$repo/build/peer}
mkdir -p "$peer"
peer=$(realpath "$peer")
installed=$(node -p "require('$peer/node_modules/@e-invoice-eu/core/package.json').version" 2>/dev/null || true)
if [ "$installed" != "$peer_version" ]; then
  echo "Installing @e-invoice-eu/core@$peer_version into $peer" >&2
  npm install --prefix "$peer" --no-audit --no-fund --loglevel=error "@e-invoice-eu/core@$peer_version" >&2
fi
# One invocation makes both documents, as a user of the library would.
cat >"$peer/make-einvoice.js" <<'JS'
// node make-einvoice.js INVOICE.json INPUT.pdf OUT.xml OUT.pdf
const fs = require('fs');
const { InvoiceService } = require('@e-invoice-eu/core');
const [invoicePath, pdfPath, xmlPath, outPdfPath] = process.argv.slice(2);
const quiet = { log() {}, warn() {}, error: (m) => console.error(m) };
(async () => {
  const invoice = JSON.parse(fs.readFileSync(invoicePath, 'utf8'));
  const service = new InvoiceService(quiet);
  const xml = await service.generate(invoice, { format: 'XRECHNUNG-CII', lang: 'de-de' });
  fs.writeFileSync(xmlPath, xml);
  const pdf = await service.generate(invoice, {
    format: 'Factur-X-XRechnung',
    lang: 'de-de',
    pdf: { buffer: fs.readFileSync(pdfPath), filename: 'invoice.pdf', mimetype: 'application/pdf' },
  });
  fs.writeFileSync(outPdfPath, pdf);
})().catch((error) => {
  console.error(error);
  process.exit(1);
});
JS

work=$(mktemp -d "${TMPDIR:-/tmp}/plaxet-einvoice.XXXXXX")
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
printf 'Hill Paint Co.\r\n' >"$work/sender.ini"
cat >"$work/business.json" <<'JSON'
{"name": "Hill Paint Co.", "street": "1 Main St", "postcode": "10115",
 "city": "Berlin", "country": "DE", "vatId": "DE123456789", "currency": "EUR",
 "iban": "DE89370400440532013000", "bic": "COBADEFFXXX", "paymentDays": 30,
 "email": "bills@hill.example", "phone": "+49 30 1234567", "contact": "Jo Hill",
 "numbers": {"invoice": "{YYYY}-{####}"}}
JSON

# N PATH: an invoice of N dated items and one 19 % tax row after them, for a
# public buyer (reference, e-mail, address); numbered (2024-00N) and due
# already, so that every run does the same work.
make_form() {
  python3 - "$1" "$2" <<'PY'
import json, sys
n, path = int(sys.argv[1]), sys.argv[2]
items = [{"date": "03/%02d/2024" % (i % 28 + 1), "description": "Interior paint & brushes <%d>" % i,
          "cost": "%d.%02d" % (10 + i % 90, i * 37 % 100)} for i in range(1, n + 1)]
items.append({"date": "", "description": "Tax (19%)", "cost": ""})
json.dump({"date": "03/15/2024", "type": "invoice", "number": "2024-%04d" % n, "dueDate": "04/14/2024",
           "deliveryDate": "03/01/2024",
           "addressee": {"name": "Bezirksamt Mitte", "address": "Karl-Marx-Allee 31",
                         "city": "10178 Berlin", "phone": ""},
           "buyer": {"country": "DE", "postcode": "10178", "city": "Berlin",
                     "street": "Karl-Marx-Allee 31", "reference": "04011000-12345-34",
                     "email": "einkauf@amt.example"},
           "items": items}, open(path, "w"))
PY
}

# FORM.json BUSINESS.json OUT.json: the same invoice in the peer's JSON (its
# UBL-shaped internal format); prints the net, tax and grand totals.
peer_json() {
  python3 - "$@" <<'PY'
import json, re, sys
from decimal import Decimal, ROUND_HALF_UP
form, business = json.load(open(sys.argv[1])), json.load(open(sys.argv[2]))

def iso(date):  # mm/dd/yyyy
    month, day, year = date.split("/")
    return "%s-%s-%s" % (year, month, day)

def money(value):
    return str(value.quantize(Decimal("0.01")))

def amounts(**named):
    fields = {}
    for name, value in named.items():
        fields["cbc:" + name] = money(value)
        fields["cbc:" + name + "@currencyID"] = "EUR"
    return fields

rate = None
costs = []
for row, item in enumerate(form["items"], 1):
    tax = re.fullmatch(r"Tax \((\d+(?:\.\d+)?)%\)", item["description"])
    if tax:
        rate = Decimal(tax.group(1))
    elif item.get("cost"):
        costs.append((row, item))
assert rate is not None and form["items"][-1]["description"].startswith("Tax"), "one tax row, last"
vat = {"cbc:ID": "S", "cbc:Percent": str(rate), "cac:TaxScheme": {"cbc:ID": "VAT"}}
lines = []
for row, item in costs:
    amount = Decimal(item["cost"])
    line = {"cbc:ID": str(row), "cbc:InvoicedQuantity": "1", "cbc:InvoicedQuantity@unitCode": "C62"}
    line.update(amounts(LineExtensionAmount=amount))
    if item.get("date"):
        line["cac:InvoicePeriod"] = {"cbc:StartDate": iso(item["date"]), "cbc:EndDate": iso(item["date"])}
    line["cac:Item"] = {"cbc:Name": item["description"], "cac:ClassifiedTaxCategory": vat}
    line["cac:Price"] = amounts(PriceAmount=amount)
    lines.append(line)

net = sum(Decimal(item["cost"]) for _, item in costs)
tax = (net * rate / 100).quantize(Decimal("0.01"), rounding=ROUND_HALF_UP)
buyer = form["buyer"]
invoice = {
    "cbc:ID": form["number"], "cbc:IssueDate": iso(form["date"]), "cbc:DueDate": iso(form["dueDate"]),
    "cbc:InvoiceTypeCode": "380", "cbc:DocumentCurrencyCode": business["currency"],
    "cbc:BuyerReference": buyer["reference"],
    "cac:AccountingSupplierParty": {"cac:Party": {
        "cbc:EndpointID": business["email"], "cbc:EndpointID@schemeID": "EM",
        "cac:PostalAddress": {"cbc:StreetName": business["street"], "cbc:CityName": business["city"],
                              "cbc:PostalZone": business["postcode"],
                              "cac:Country": {"cbc:IdentificationCode": business["country"]}},
        "cac:PartyTaxScheme": [{"cbc:CompanyID": business["vatId"], "cac:TaxScheme": {"cbc:ID": "VAT"}}],
        "cac:PartyLegalEntity": {"cbc:RegistrationName": business["name"]},
        "cac:Contact": {"cbc:Name": business["contact"], "cbc:Telephone": business["phone"],
                        "cbc:ElectronicMail": business["email"]}}},
    "cac:AccountingCustomerParty": {"cac:Party": {
        "cbc:EndpointID": buyer["email"], "cbc:EndpointID@schemeID": "EM",
        "cac:PostalAddress": {"cbc:StreetName": buyer["street"], "cbc:CityName": buyer["city"],
                              "cbc:PostalZone": buyer["postcode"],
                              "cac:Country": {"cbc:IdentificationCode": buyer["country"]}},
        "cac:PartyLegalEntity": {"cbc:RegistrationName": form["addressee"]["name"]}}},
    "cac:Delivery": {"cbc:ActualDeliveryDate": iso(form["deliveryDate"])},
    "cac:PaymentMeans": [{"cbc:PaymentMeansCode": "58", "cbc:PaymentID": form["number"],
                          "cac:PayeeFinancialAccount": {
                              "cbc:ID": business["iban"],
                              "cac:FinancialInstitutionBranch": {"cbc:ID": business["bic"]}}}],
    "cac:TaxTotal": [dict(amounts(TaxAmount=tax), **{"cac:TaxSubtotal": [
        dict(amounts(TaxableAmount=net, TaxAmount=tax), **{"cac:TaxCategory": vat})]})],
    "cac:LegalMonetaryTotal": amounts(LineExtensionAmount=net, TaxExclusiveAmount=net,
                                      TaxInclusiveAmount=net + tax, PayableAmount=net + tax),
    "cac:InvoiceLine": lines,
}
json.dump({"ubl:Invoice": invoice}, open(sys.argv[3], "w"), ensure_ascii=False)
print(money(net), money(tax), money(net + tax))
PY
}

# FILE.xml: the net, tax and grand totals of a CII invoice.
cii_totals() {
  python3 - "$1" <<'PY'
import sys, xml.etree.ElementTree as ET
ram = "{urn:un:unece:uncefact:data:standard:ReusableAggregateBusinessInformationEntity:100}"
total = next(ET.parse(sys.argv[1]).iter(ram + "SpecifiedTradeSettlementHeaderMonetarySummation"))
print(" ".join(total.find(ram + name).text
               for name in ("LineTotalAmount", "TaxTotalAmount", "GrandTotalAmount")))
PY
}

# RUNS -- PLAXET_COMMAND -- PEER_COMMAND: one uncounted round, then RUNS
# rounds, each running the two in turn, timed by waiting on the process, and
# again under /usr/bin/time for the peak memory. Prints the medians: wall
# ms, processor ms and peak KiB of plaxet, then of the peer.
side_by_side() {
  python3 - "$@" <<'PY'
import os, statistics, sys, tempfile, time
args = sys.argv[1:]
runs = int(args[0])
split = args.index("--", 2)
commands = [args[2:split], args[split + 1:]]
quiet = os.open(os.devnull, os.O_WRONLY)
memory_file = tempfile.NamedTemporaryFile(prefix="plaxet-peak.", delete=False).name

def run(command):
    start = time.perf_counter()
    pid = os.posix_spawnp(command[0], command, os.environ,
                          file_actions=[(os.POSIX_SPAWN_DUP2, quiet, 1)])
    _, status, usage = os.wait4(pid, 0)
    wall = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("the command failed: " + " ".join(command))
    return wall, usage.ru_utime + usage.ru_stime

def peak(command):
    run(["/usr/bin/time", "-f", "%M", "-o", memory_file] + command)
    return int(open(memory_file).read().split()[-1])

walls, cpus, peaks = [[], []], [[], []], [[], []]
for round_number in range(runs + 1):
    for side, command in enumerate(commands):
        wall, cpu = run(command)
        if round_number > 0:
            walls[side].append(wall * 1e3)
            cpus[side].append(cpu * 1e3)
    for side, command in enumerate(commands):
        kib = peak(command)
        if round_number > 0:
            peaks[side].append(kib)
os.unlink(memory_file)
print(" ".join("%.1f %.1f %d" % (statistics.median(walls[side]), statistics.median(cpus[side]),
                                 statistics.median(peaks[side])) for side in (0, 1)))
PY
}

echo "Load average before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) processors"
echo "node $(node --version), @e-invoice-eu/core $peer_version, plaxet-cli $cli"
rows=()
for n in 20 1000; do
  make_form "$n" "$work/invoice$n.json"
  "$cli" make "$work/invoice$n.json" "$work/invoice$n.plx" >/dev/null
  plaxet=("$cli" create-files "$work/invoice$n.plx" --sender "$work/sender.ini" --business "$work/business.json")
  "${plaxet[@]}" >"$work/create$n.out" 2>&1 || fail "create-files failed: $(cat "$work/create$n.out")"
  grep -qF "the e-invoice (XRechnung 3.0) have been created" "$work/create$n.out" ||
    fail "create-files wrote no XRechnung: $(cat "$work/create$n.out")"
  # The peer's input: the finished PDF, made above and not timed.
  cp "$work/invoice$n.pdf" "$work/peer-input$n.pdf"
  totals=$(peer_json "$work/invoice$n.json" "$work/business.json" "$work/peer$n.json")
  [ "$totals" = "$(cii_totals "$work/invoice$n.xml")" ] ||
    fail "$n items: the peer's totals ($totals) are not ours ($(cii_totals "$work/invoice$n.xml"))"
  peer_command=(node "$peer/make-einvoice.js" "$work/peer$n.json" "$work/peer-input$n.pdf"
    "$work/peer$n.xml" "$work/peer$n.pdf")
  "${peer_command[@]}" || fail "the peer failed on $n items"
  "$validate" --xrechnung "$work/invoice$n.xml" >"$work/check$n.txt" 2>&1 ||
    fail "$n items: our XML is not a valid XRechnung: $(cat "$work/check$n.txt")"
  echo "$n items, ours: $(tail -1 "$work/check$n.txt") ($(grep -c 'warning' "$work/check$n.txt" || true) warnings)"
  peer_check=$("$validate" --xrechnung "$work/peer$n.xml" 2>&1 | tail -1 || true)
  echo "$n items, the peer's: $peer_check"
  echo "$n items: PDF $(stat -c %s "$work/invoice$n.pdf") bytes, $(pdfinfo "$work/invoice$n.pdf" | awk '/^Pages:/ { print $2 }') pages; XML $(stat -c %s "$work/invoice$n.xml") bytes (the peer's $(stat -c %s "$work/peer$n.xml"))"

  read -r ours_wall ours_cpu ours_kib peer_wall peer_cpu peer_kib < <(side_by_side "$runs" -- "${plaxet[@]}" -- "${peer_command[@]}")
  rows+=("$(awk -v n="$n" -v ow="$ours_wall" -v pw="$peer_wall" -v ok="$ours_kib" -v pk="$peer_kib" \
    -v oc="$ours_cpu" -v pc="$peer_cpu" 'BEGIN {
      printf "| %s | %.1f ms | %.0f ms | %.0fx | %.1f MiB | %.1f MiB | %.1f / %.0f ms |", n, ow, pw, pw / ow,
        ok / 1024, pk / 1024, oc, pc }')")
done
echo "Load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "| items | plaxet (median of $runs) | peer (median) | peer / plaxet | plaxet peak | peer peak | processor time, plaxet / peer |"
echo "|---:|---:|---:|---:|---:|---:|---:|"
printf '%s\n' "${rows[@]}"
