#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/bootstrap.sh

# The host-level and editor tests want an X display; give them a virtual one.
# -noreset keeps the server's atoms alive between test processes: without a
# window manager nobody else creates the ones JUCE's windows need.
xvfb-run -a -s "-screen 0 1600x1200x24 -noreset" ctest --test-dir build --output-on-failure --parallel "$(nproc)"
