#!/bin/sh
# Builds the program and runs it.
set -eu
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/release --target Nitkograf
exec build/release/app/Nitkograf "$@"
