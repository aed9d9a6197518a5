#!/usr/bin/env bash
# Runs the command-line tool's main job on the bundled example forms: each
# example is made into a form file from its JSON, and its RTF, HTML and PDF
# documents are created beside it, in a fresh folder under out/.
set -euo pipefail
cli=$(realpath "$1")
cd "$(dirname "$0")/.."
out=out/examples
rm -rf "$out"
mkdir -p "$out"
cp examples/*.json examples/quillet.ini "$out"/
"$cli" --version
for json in "$out"/*.json; do
  form="${json%.json}.plx"
  "$cli" make "$json" "$form"
  echo "== $(basename "$form")"
  "$cli" create-files "$form" --sender "$out/quillet.ini"
done
echo
echo "Documents of the example forms:"
ls -1 "$(realpath "$out")"/*.rtf "$(realpath "$out")"/*.htm "$(realpath "$out")"/*.pdf
