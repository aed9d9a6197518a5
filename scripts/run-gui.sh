#!/usr/bin/env bash
# Starts the Windows program under Wine.
set -euo pipefail
echo "The Windows program is not built yet." >&2
exit 1
