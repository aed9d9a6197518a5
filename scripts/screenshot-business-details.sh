#!/usr/bin/env bash
# Pictures of the Business Details dialog for the documentation: starts
# plaxet.exe under Wine in a virtual desktop with a filled business.json
# beside it, opens the dialog from the File menu by its keys and keeps the
# dialog's window as docs/business-details.png (100 %) and
# docs/business-details-150.png (150 %, 144 DPI, in a prefix of its own).
#
# It runs the Windows build that this machine can start (see
# scripts/windows-target.sh; PLAXET_WINDOWS_BUILD=win32 or win64 forces one).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/windows-target.sh
source scripts/desktop-helpers.sh
run_on_display "$0" "$@"

use_windows_build screenshots plaxet || exit 1
work=$(mktemp -d "${TMPDIR:-/tmp}/plaxet-shots.XXXXXX")
launcher=""
cleanup() {
  stop_program
  rm -rf "$work"
}
trap cleanup EXIT

# A copy that is not installed keeps its data beside itself.
cat >"$work/business.json" <<'EOF'
{
  "name": "Berg Gardening GmbH",
  "street": "Lindenweg 12",
  "postcode": "50667",
  "city": "Köln",
  "country": "DE",
  "vatId": "DE123456789",
  "taxNumber": "214/5678/1234",
  "email": "office@berg-gardening.example",
  "phone": "+49 221 555 0100",
  "contact": "Anna Berg",
  "iban": "DE89 3704 0044 0532 0130 00",
  "bic": "COBADEFFXXX",
  "currency": "EUR",
  "vat": "standard",
  "paymentDays": 14,
  "paymentTerms": "Payable within 14 days without deduction.",
  "numbers": {"invoice": "{YYYY}-{####}", "receipt": "R-{YY}{MM}-{###}", "estimate": "E-{YYYY}-{###}"}
}
EOF

# Opens the dialog in the program started from FOLDER under the Wine prefix
# PREFIX and keeps it as the picture OUT.
picture() {
  local folder=$1 prefix=$2 out=$3 desktop="plaxet-shots-$$-$(basename "$1")"
  mkdir -p "$folder"
  cp "$bin/plaxet.exe" examples/quillet.ini "$work/business.json" "$folder/"
  WINEPREFIX=$prefix scripts/wine-run.sh explorer "/desktop=$desktop,1600x1200" \
    "$folder/plaxet.exe" >"$work/$(basename "$folder").log" 2>&1 &
  launcher=$!
  wait_for_main_window '^Plaxet$' || return 1
  xdotool windowfocus --sync "$(window_id "$desktop")"
  wait_until_keys_arrive '^Plaxet$' || return 1
  xdotool key alt+f
  sleep 0.5
  xdotool key b
  wait_for 30 window_named '^Business Details$' || { echo "the dialog did not open"; return 1; }
  sleep 1
  import -window "$(window_id '^Business Details$')" "$out"
  xdotool key Escape
  wait_for 20 no_window_named '^Business Details$' || { echo "the dialog did not close"; return 1; }
  # The title bar clicked, so that the keys reach the main window again.
  xdotool mousemove --window "$(window_id '^Plaxet$')" 150 10 click 1
  sleep 0.5
  # An untouched new form closes without a question; a question is answered.
  xdotool key Escape
  if wait_for 5 window_named '^Exit Program$'; then xdotool key y; fi
  wait_for 30 launcher_gone || { echo "the program did not end"; return 1; }
  launcher=""
}

picture "$work/app-100" "${WINEPREFIX:-$PWD/build/wineprefix}" docs/business-details.png
picture "$work/app-150" "$(scripts/wine-prefix-at-dpi.sh 144)" docs/business-details-150.png
echo "screenshots: docs/business-details.png and docs/business-details-150.png"
