#!/bin/sh
# Builds everything and runs every test: the portable core natively under
# AddressSanitizer and UndefinedBehaviorSanitizer, a short fuzz of every
# parser of outside input, then the Windows tests under Wine inside Xvfb:
# the whole suite against the 64-bit build always, and against the 32-bit
# build where this machine runs i386 programs natively. Where it runs them
# only through qemu, the 32-bit images are checked statically and the
# shipped 32-bit program gets one end-to-end smoke test. Exits non-zero on
# any failure; the last lines say what ran and how.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
./scripts/setup.sh
build=${PELOMAR_BUILD:-build}
jobs=${PELOMAR_JOBS:-2}
mkdir -p "$build"
build=$(cd "$build" && pwd)
mode=$(./scripts/i386.sh)

summary=""
failed=0
# Runs one stage to its end, whatever the others did, and notes the result.
stage() {  # description command...
    what=$1
    shift
    echo "=== $what" >&2
    if "$@"; then
        summary="$summary
  passed  $what"
    else
        summary="$summary
  FAILED  $what"
        failed=1
    fi
}
configure() {  # dir cmake-args...
    dir=$1
    shift
    cmake -S . -B "$dir" "$@" >/dev/null && cmake --build "$dir" -j "$jobs"
}
in_wine() {  # build-dir command
    ./scripts/wine-env.sh "$1" sh -c "cd '$1' && $2"
}

stage "native core: build" configure "$build/native" -DCMAKE_BUILD_TYPE=Debug
stage "native core: tests under ASan and UBSan" sh -c "cd '$build/native' && ctest --output-on-failure -j $jobs"

stage "fuzz: build" configure "$build/fuzz" -DPELOMAR_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_C_COMPILER=clang -DCMAKE_BUILD_TYPE=Debug
stage "fuzz: short runs of every target" sh -c "cd '$build/fuzz' && ctest --output-on-failure -j $jobs"

stage "win64: build" configure "$build/win64" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake
stage "win32: build" configure "$build/win32" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
zip32=$(ls "$build"/win32/Pelomar-*-win32.zip 2>/dev/null | head -n 1)

# Under emulation the smoke test spends minutes starting 32-bit processes
# while the 64-bit suite mostly waits on windows: they run side by side.
smoke_pid=""
if [ "$mode" = emulated ]; then
    # The 64-bit prefix is made first: making it pauses qemu's i386 entry
    # for a while, and the smoke test's prefix, made at the same moment,
    # would then lose its 32-bit side.
    in_wine "$build/win64" true
    echo "=== win32: smoke test started beside the 64-bit suite (log: $build/win32/smoke.log)" >&2
    # Its display numbers start elsewhere, so that the two Xvfb never race.
    PELOMAR_DISPLAY_FROM=200 ./scripts/smoke-win32.sh "$build/win32" "$build/win64" \
        > "$build/win32/smoke.log" 2>&1 &
    smoke_pid=$!
fi

stage "win64: whole suite under 64-bit Wine" in_wine "$build/win64" "ctest --output-on-failure -j $jobs"

case $mode in
native)
    stage "win32: whole suite under 32-bit Wine" in_wine "$build/win32" "ctest --output-on-failure -j $jobs"
    how32="whole suite under 32-bit Wine (i386 runs natively)" ;;
*)
    stage "win32: images and zip checked statically" \
        sh scripts/check-dist.sh "$zip32" Themes "$build/win32/again/$(basename "$zip32")"
    if [ -n "$smoke_pid" ]; then
        wait $smoke_pid || true
        stage "win32: smoke test of the shipped program under emulated 32-bit Wine" \
            sh -c "cat '$build/win32/smoke.log'; grep -q '^smoke: passed' '$build/win32/smoke.log'"
        how32="static checks and one smoke test under emulated 32-bit Wine (i386 runs only through qemu)"
    else
        echo "win32: smoke test skipped: this machine runs no i386 program, and qemu's i386 emulation" \
             "could not be registered (that needs root)" >&2
        how32="static checks only; the smoke test was skipped: no i386 emulation"
    fi ;;
esac

echo
echo "Stages:$summary"
echo "Architectures: win64: whole suite under 64-bit Wine; win32: $how32"
for z in "$build"/win64/Pelomar-*-win64.zip "$build"/win32/Pelomar-*-win32.zip; do
    [ -f "$z" ] && sha256sum "$z" | sed 's|  .*/|  |'
done
if [ $failed -ne 0 ]; then
    echo "FAILED"
    exit 1
fi
echo "All passed"
