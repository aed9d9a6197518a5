#!/usr/bin/env bash
# Runs the Windows build's lower-casing test with a Japanese system, whose
# ANSI code page (932) holds characters in two bytes, and Create Files there:
# all three documents are written, the RTF naming code page 932, and the PDF
# shows the form's text. Wine takes its code
# page from the Unix locale; the locale is compiled into build/ so nothing
# outside the build tree changes. Takes about half a minute (a new prefix).
set -euo pipefail
cd "$(dirname "$0")/.."

# shellcheck source=/dev/null
source scripts/windows-target.sh
plaxet_windows_target || { echo "test-codepage: $PLAXET_WINDOWS_REASON" >&2; exit 1; }
program="$PLAXET_WINDOWS_BIN/test_form.exe"
[ -f "$program" ] || { echo "test-codepage: $program is not built" >&2; exit 1; }

locales="$PWD/build/locale"
if [ ! -d "$locales/ja_JP.UTF-8" ]; then
  mkdir -p "$locales"
  # localedef reports harmless warnings with a non-zero status; the folder decides.
  localedef -i ja_JP -f UTF-8 "$locales/ja_JP.UTF-8" >/dev/null 2>&1 || true
  [ -d "$locales/ja_JP.UTF-8" ] || { echo "test-codepage: cannot compile the ja_JP locale" >&2; exit 1; }
fi

output=$(env LOCPATH="$locales" LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 \
           WINEPREFIX="$PWD/build/wineprefix-932" PLAXET_DOUBLE_BYTE_CODE_PAGE=1 \
           timeout 300 scripts/wine-run.sh "$program" --gtest_brief=1 \
           --gtest_filter='DoubleByteCodePage.*' 2>&1) || { echo "$output"; exit 1; }
echo "$output" | tail -n 3
# A filter that matches nothing would pass without testing anything.
grep -q '^\[  PASSED  \] 1 test' <<<"$output" || { echo "test-codepage: the test did not run" >&2; exit 1; }

# Create Files with plaxet-cli in the same prefix, on the example invoice.
cli="$PLAXET_WINDOWS_BIN/plaxet-cli.exe"
[ -f "$cli" ] || { echo "test-codepage: $cli is not built" >&2; exit 1; }
work=$(mktemp -d "${TMPDIR:-/tmp}/plaxet-codepage.XXXXXX")
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
cp examples/quillet.ini "$work/"
# The example invoice addressed to a Japanese name, in the code page's own letters.
name="田中 Margaret Ellison"
python3 - "$name" examples/invoice.json "$work/invoice.json" <<'PY'
import json, sys
form = json.load(open(sys.argv[2], encoding="utf-8"))
form["addressee"]["name"] = sys.argv[1]
json.dump(form, open(sys.argv[3], "w", encoding="utf-8"), ensure_ascii=False)
PY
run_932() {
  env LOCPATH="$locales" LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 WINEPREFIX="$PWD/build/wineprefix-932" \
    timeout 300 scripts/wine-run.sh "$cli" "$@" 2>&1
}
run_932 make "Z:${work//\//\\}\\invoice.json" "Z:${work//\//\\}\\invoice.plx" >/dev/null
output=$(run_932 create-files "Z:${work//\//\\}\\invoice.plx" --sender "Z:${work//\//\\}\\quillet.ini") ||
  { echo "$output"; exit 1; }
grep -q "The RTF, HTM and PDF files have been created at:" <<<"$output" ||
  { echo "test-codepage: Create Files said: $output" >&2; exit 1; }
[ -s "$work/invoice.rtf" ] && [ -s "$work/invoice.htm" ] && [ -s "$work/invoice.pdf" ] ||
  { echo "test-codepage: not every document was written" >&2; exit 1; }
grep -q 'ansicpg932' "$work/invoice.rtf" ||
  { echo "test-codepage: the RTF does not name code page 932" >&2; exit 1; }
pdftotext "$work/invoice.pdf" - | grep -qF "$name" ||
  { echo "test-codepage: the PDF does not show \"$name\"" >&2; exit 1; }
echo "test-codepage: Create Files with code page 932 wrote the RTF, HTM and PDF documents"
