#!/usr/bin/env bash
# Runs the Windows build's lower-casing test with a Japanese system, whose
# ANSI code page (932) holds characters in two bytes, and Create Files there:
# the standard PDF fonts lack its letters, so the RTF and HTM documents are
# written and the message says why there is no PDF. Wine takes its code
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
cp examples/invoice.json examples/quillet.ini "$work/"
run_932() {
  env LOCPATH="$locales" LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 WINEPREFIX="$PWD/build/wineprefix-932" \
    timeout 300 scripts/wine-run.sh "$cli" "$@" 2>&1
}
run_932 make "Z:${work//\//\\}\\invoice.json" "Z:${work//\//\\}\\invoice.plx" >/dev/null
touch "$work/invoice.pdf" # an older PDF, which would show an older form
output=$(run_932 create-files "Z:${work//\//\\}\\invoice.plx" --sender "Z:${work//\//\\}\\quillet.ini") ||
  { echo "$output"; exit 1; }
grep -q "No PDF file was made: the PDF needs a Western or Central European code page." <<<"$output" ||
  { echo "test-codepage: Create Files said: $output" >&2; exit 1; }
[ -s "$work/invoice.rtf" ] && [ -s "$work/invoice.htm" ] ||
  { echo "test-codepage: the RTF and HTM documents were not written" >&2; exit 1; }
[ ! -e "$work/invoice.pdf" ] || { echo "test-codepage: the older PDF is still there" >&2; exit 1; }
echo "test-codepage: Create Files with code page 932 wrote the RTF and HTM documents and said why there is no PDF"
