#!/usr/bin/env bash
# Builds the VST3 bundle in Release, installs it into ~/.vst3 and renders a short demo.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/configure.sh
cmake --build build --parallel "$(nproc)" --target RuvAzozu_VST3

bundle="$(pwd)/build/RuvAzozu_artefacts/Release/VST3/RUV AZOZU.vst3"
echo
echo "Built:     $bundle"
echo "Installed: $HOME/.vst3/RUV AZOZU.vst3"

# Render the built-in demo phrase through the bundle, as a host would play it.
cmake --build build --parallel "$(nproc)" --target ruv_render
build/tools/render/ruv_render --bundle "$bundle" --out build/demo.wav
echo "Demo:      $(pwd)/build/demo.wav"
