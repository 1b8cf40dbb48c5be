#!/usr/bin/env bash
# Installs what is missing, builds Quillscope without its tests and makes the
# Debian package quillscope_<version>_amd64.deb in the build folder, then
# checks it with lintian (errors fail the script; warnings are printed).
#
#   QUILL_BUILD_DIR  build folder (default: build-package)
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

build_dir=${QUILL_BUILD_DIR:-build-package}
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILL_BUILD_TESTS=OFF -DQUILL_BUILD_BENCH=OFF
cmake --build "$build_dir" -j"$(nproc)"
(cd "$build_dir" && cpack -G DEB)

deb=$(ls -t "$build_dir"/quillscope_*_amd64.deb | head -n 1)
lintian --fail-on error --tag-display-limit 0 "$deb"
echo "$deb"
