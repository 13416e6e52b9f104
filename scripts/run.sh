#!/usr/bin/env bash
# Sets up, writes a fresh database beside the program when there is none, and starts Orvane.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
if [ ! -f build/data/discvault.mdb ]; then
  ./build/orvane-initdb build/data/discvault.mdb
fi
exec ./build/orvane
