#!/usr/bin/env bash
# Installs what the build needs, builds the plug-in in build/ (Release).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
bash scripts/install-deps.sh "${BUILD_PACKAGES[@]}"

# ccache shares compiled JUCE modules between build trees.
export CCACHE_BASEDIR="$(cd .. && pwd)"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release "${launcher[@]}"
cmake --build build

# The demo: a generated test signal rendered through the built plug-in by a small VST host.
echo "== Demo renders (through build/Lumarro.so)"
build/tools/render/lumarro_render build/Lumarro.so build/demo
