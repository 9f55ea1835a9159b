#!/usr/bin/env bash
# Installs what is missing, builds everything, then renders the built-in demo
# through the compressor and draws the result.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/bootstrap.sh

build/tarnwell-render --plot out/tarnwell-demo.png
