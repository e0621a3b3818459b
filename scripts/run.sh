#!/usr/bin/env bash
# Set up, build, and start the program on its default data file (build/bookkeep.dat).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
exec ./build/bookkeep
