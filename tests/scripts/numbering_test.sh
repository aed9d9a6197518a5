#!/usr/bin/env bash
# Forty plaxet-cli create-files runs started at once on forty forms without
# numbers, with one business file: each form gets a number of its own, and
# together they are the series' first forty. Then a form dated in the next
# year starts the series again, and a copy of a numbered form is refused.
# Usage: numbering_test.sh PLAXET_CLI
set -euo pipefail
cli=${1:?usage: numbering_test.sh PLAXET_CLI}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "numbering_test: $*" >&2; exit 1; }

printf 'Berg Gardening\r\n' >"$work/sender.ini"
cat >"$work/business.json" <<'JSON'
{"name": "Berg Gardening Ltd", "country": "DE", "paymentDays": 30,
 "vatId": "DE123456789", "iban": "DE89370400440532013000",
 "numbers": {"invoice": "{YYYY}-{####}"}}
JSON
form_json() { # DATE
  printf '{"date": "%s", "type": "invoice", "addressee": {"name": "Anna"},
           "items": [{"description": "Hedge", "cost": "40"}]}' "$1"
}
form_json 03/15/2024 >"$work/form.json"
for n in $(seq 1 40); do
  "$cli" make "$work/form.json" "$work/form$n.plx"
done

pids=()
for n in $(seq 1 40); do
  "$cli" create-files "$work/form$n.plx" --sender "$work/sender.ini" \
    --business "$work/business.json" >"$work/out$n.txt" 2>"$work/err$n.txt" &
  pids+=($!)
done
for n in $(seq 1 40); do
  wait "${pids[$((n - 1))]}" || fail "run $n failed: $(cat "$work/err$n.txt")"
done

numbers=$(sed -n 's/^Number \(.*\) given to .*/\1/p' "$work"/out*.txt | sort)
expected=$(for n in $(seq 1 40); do printf '2024-%04d\n' "$n"; done)
[ "$numbers" = "$expected" ] || fail "the forty runs printed these numbers:
$numbers"
# Each form keeps the number its run printed, and its due date.
for n in $(seq 1 40); do
  printed=$(sed -n 's/^Number \(.*\) given to .*/\1/p' "$work/out$n.txt")
  "$cli" dump "$work/form$n.plx" | grep -q "\"number\": \"$printed\"" ||
    fail "form$n.plx does not hold the number $printed"
  "$cli" dump "$work/form$n.plx" | grep -q '"dueDate": "04/14/2024"' ||
    fail "form$n.plx has no due date 30 days after its date"
  [ -f "$work/form$n.pdf" ] || fail "form$n.pdf was not made"
done
# Its documents print the number, the due date and the seller's footer.
printed=$(sed -n 's/^Number \(.*\) given to .*/\1/p' "$work/out1.txt")
for text in "Invoice No. $printed" "Due by April 14, 2024" "Berg Gardening Ltd, DE" \
  "VAT ID: DE123456789" "IBAN: DE89370400440532013000"; do
  grep -qF "$text" "$work/form1.rtf" || fail "form1.rtf does not say $text"
  grep -qF "$text" "$work/form1.htm" || fail "form1.htm does not say $text"
done

# A new year starts the series again; a form of the old year continues it.
form_json 01/02/2025 >"$work/new-year.json"
"$cli" make "$work/new-year.json" "$work/new-year.plx"
"$cli" create-files "$work/new-year.plx" --sender "$work/sender.ini" \
  --business "$work/business.json" | grep -qx 'Number 2025-0001 given to .*new-year.plx' ||
  fail "a form dated in a new year did not start the counter again"
"$cli" make "$work/form.json" "$work/late.plx"
"$cli" create-files "$work/late.plx" --sender "$work/sender.ini" \
  --business "$work/business.json" | grep -qx 'Number 2024-0041 given to .*late.plx' ||
  fail "a late form of 2024 did not continue its year's series"

# Running it again keeps the form's number; a copy of the form is refused.
before=$(cat "$work/numbers.json")
"$cli" create-files "$work/form1.plx" --sender "$work/sender.ini" \
  --business "$work/business.json" >"$work/again.txt"
grep -q '^Number' "$work/again.txt" && fail "a numbered form was numbered again"
cp "$work/form1.plx" "$work/copy.plx"
if "$cli" create-files "$work/copy.plx" --sender "$work/sender.ini" \
  --business "$work/business.json" 2>"$work/copy-err.txt"; then
  fail "a copy of a numbered form got its documents with the same number"
fi
grep -q 'was already given to .*form1.plx' "$work/copy-err.txt" ||
  fail "the refusal does not name the other form: $(cat "$work/copy-err.txt")"
[ ! -e "$work/copy.pdf" ] || fail "the refused copy has documents"

# A damaged counter file takes no number and is left as it was.
printf '{"counters": ' >"$work/numbers.json"
"$cli" make "$work/form.json" "$work/after-damage.plx"
if "$cli" create-files "$work/after-damage.plx" --sender "$work/sender.ini" \
  --business "$work/business.json" 2>"$work/damage-err.txt"; then
  fail "a damaged numbers.json was passed over"
fi
grep -q 'numbers.json is damaged' "$work/damage-err.txt" || fail "$(cat "$work/damage-err.txt")"
[ "$(cat "$work/numbers.json")" = '{"counters": ' ] || fail "the damaged file was changed"
[ -n "$before" ] || fail "no counters were written"
echo "numbering_test: forty runs at once got 2024-0001 to 2024-0040"
