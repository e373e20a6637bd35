#!/usr/bin/env bash
# Redraws the plug-in's pictures into resources/images with the artwork generator.
# Run it after changing resources/generator, then commit the images it writes.
set -euo pipefail
cd "$(dirname "$0")/.."

# The artwork uses Roboto's medium and bold cuts as well; only the regular one is embedded.
bash scripts/install-deps.sh fonts-roboto-unhinted
font_dir=/usr/share/fonts/truetype/roboto/unhinted/RobotoTTF

build_dir=${BUILD_DIR:-build}
[ -f "$build_dir/CMakeCache.txt" ] || bash scripts/build.sh
cmake --build "$build_dir" --target lumarro_artwork_generator
"$build_dir/resources/lumarro_artwork_generator" resources/images resources/fonts/Roboto-Regular.ttf "$font_dir"
