#!/usr/bin/env bash
# Installs what is missing, builds Quillscope (Release) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

build_dir=${QUILL_BUILD_DIR:-build-release}
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DQUILL_BUILD_TESTS=OFF -DQUILL_BUILD_BENCH=OFF
cmake --build "$build_dir" -j"$(nproc)" --target quillscope quillscope-cli quillscope-camera-sim
exec "$build_dir/app/quillscope" "$@"
