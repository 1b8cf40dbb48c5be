#!/usr/bin/env bash
# Installs what is missing, builds Quillscope with its tests and runs every
# test through CTest. As root the tests run inside a private network namespace
# with only loopback up, so no test can send a packet to a real network.
#
#   QUILL_BUILD_DIR   build folder (default: build)
#   QUILL_CMAKE_ARGS  extra CMake arguments, e.g. -DQUILL_SANITIZE=ON
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

build_dir=${QUILL_BUILD_DIR:-build}
# shellcheck disable=SC2086
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo ${QUILL_CMAKE_ARGS:-}
cmake --build "$build_dir" -j"$(nproc)"

if [ "$(id -u)" -eq 0 ]; then
  # A new network namespace (only a down loopback in it) and a private mount
  # namespace, so test namespaces made below /run/netns vanish with the run.
  exec unshare --net --mount --propagation private -- \
    bash -c 'ip link set lo up && exec ctest --test-dir "$1" --output-on-failure --no-tests=error' _ "$build_dir"
fi

echo "Not root: tests run without a private network namespace; tests that need one are skipped." >&2
exec ctest --test-dir "$build_dir" --output-on-failure --no-tests=error
