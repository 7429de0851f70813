#!/bin/sh
# Builds everything and runs every test: the portable core natively under
# AddressSanitizer and UndefinedBehaviorSanitizer, then the Windows tests
# under Wine inside Xvfb. Exits non-zero on any failure.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
./scripts/setup.sh
build=${PELOMAR_BUILD:-build}
jobs=${PELOMAR_JOBS:-2}

cmake -S . -B "$build/native" -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build/native" -j "$jobs"
(cd "$build/native" && ctest --output-on-failure -j "$jobs")

# A short fuzz run of every parser and formatter of outside input.
cmake -S . -B "$build/fuzz" -DPELOMAR_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_C_COMPILER=clang -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build/fuzz" -j "$jobs"
(cd "$build/fuzz" && ctest --output-on-failure -j "$jobs")

cmake -S . -B "$build/win32" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build "$build/win32" -j "$jobs"
./scripts/wine-env.sh "$build/win32" sh -c "cd '$build/win32' && ctest --output-on-failure -j $jobs"
