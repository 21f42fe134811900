#!/usr/bin/env bash
# Installs what is missing, builds the three programs (no tests, no benchmarks), and starts
# Veltrix with the given arguments.
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
"$root/scripts/setup.sh" veltrix veltrix-cli veltrix-sim
exec "$root/build/app/veltrix" "$@"
