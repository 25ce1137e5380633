#!/usr/bin/env bash
# Installs what is missing, builds, and starts ORVANEX on its default registry.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
"$root/scripts/setup-deps.sh"
"$root/scripts/build.sh" build/release
# The App folder is the current directory: the program's own folder, beside pelusa and its help.
cd "$root/build/release/bin"
exec ./orvanex "$@"
