#!/usr/bin/env bash
# Builds Veltrix and renders the README's screenshots of a demo network into docs/screenshots/,
# headless.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh" veltrix-screenshots
exec "$root/build/app/veltrix-screenshots" "$root/docs/screenshots"
