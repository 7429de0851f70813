#!/bin/sh
# The one benchmark command. Builds what the benchmarks need (an optimised
# native build and the Windows build), makes their data files once, runs
# every benchmark and ends with one table of ratios. Each figure is a median
# of several runs and every ratio compares figures measured in the same
# run. Benchmarks print figures; they never fail because a machine is slow.
# Honours PELOMAR_BUILD (default build) and PELOMAR_JOBS (default 2).
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
./scripts/setup.sh
build=${PELOMAR_BUILD:-build}
jobs=${PELOMAR_JOBS:-2}
mkdir -p "$build"
build=$(cd "$build" && pwd)
data="$build/bench-data"
out="$build/bench-output"
mkdir -p "$data" "$out"
rm -f "$out"/*.txt

echo "bench: building" >&2
cmake -S . -B "$build/bench-native" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build/bench-native" -j "$jobs" --target search_bench copy_bench >/dev/null
# The Wine benchmarks run on the build this machine runs at full speed: the
# 32-bit one where i386 programs run natively, otherwise the 64-bit one.
if [ "$(./scripts/i386.sh)" = native ]; then
    arch=win32; toolchain=cmake/mingw-i686.cmake
else
    arch=win64; toolchain=cmake/mingw-x86_64.cmake
fi
tree="$build/$arch"
cmake -S . -B "$tree" -DCMAKE_TOOLCHAIN_FILE=$toolchain >/dev/null
cmake --build "$tree" -j "$jobs" --target Pelomar paint_bench control_scale_bench host_open_bench >/dev/null

# Data files, made once: random bytes with none from 0xF0 up (so that the
# search patterns and memchr's byte never occur), and all 'a' (the
# adversarial case of the search). The Wine benchmarks type into the
# random files and undo it again.
make_file() {  # name bytes kind
    f="$data/$1"
    if [ -f "$f" ] && [ "$(stat -c %s "$f")" = "$2" ]; then return; fi
    echo "bench: making $f" >&2
    case $3 in
    random) head -c "$2" /dev/urandom | tr '\360-\377' '\000-\017' > "$f.part" ;;
    adversarial) head -c "$2" /dev/zero | tr '\000' a > "$f.part" ;;
    esac
    mv "$f.part" "$f"
}
for kind in random adversarial; do
    make_file "$kind-16k.bin" 16384 "$kind"
    make_file "$kind-16m.bin" 16777216 "$kind"
    make_file "$kind-1g.bin" 1073741824 "$kind"
done
# Files past 4 GiB for the 64-bit build: sparse, so that their holes read
# as zero bytes and take no disk. A view of the 64 GiB one is read-only
# under Wine, which gives no writable view that large.
past4g=""
if [ "$arch" = win64 ]; then
    for size in 16 64; do
        f="$data/sparse-${size}g.bin"
        [ -f "$f" ] || truncate -s "${size}G" "$f"
        past4g="$past4g Z:$f"
    done
fi

# Runs one benchmark, shows its output and keeps it for the table.
run() {  # name command...
    name=$1
    shift
    echo "== $name"
    if ! "$@" > "$out/$name.raw" 2>&1; then echo "($name did not finish)" >> "$out/$name.raw"; fi
    tr -d '\r' < "$out/$name.raw" > "$out/$name.txt"
    rm -f "$out/$name.raw"
    grep -v '^ratio|' "$out/$name.txt" || true
}

run search-16m "$build/bench-native/search_bench" "$data/random-16m.bin" "$data/adversarial-16m.bin"
run search-1g "$build/bench-native/search_bench" "$data/random-1g.bin" "$data/adversarial-1g.bin"
# xxd -i runs at about 10 MB/s: 16 MiB keeps five passes of it short.
run copy-16m "$build/bench-native/copy_bench" "$data/random-16m.bin"

# The Wine benchmarks share one display and one warmed wineserver, so
# run() goes through a script of its own inside that session. Wine opens
# Linux paths through its drive Z:.
cat > "$out/wine-run.sh" <<'EOF_WINE'
run() {
    name=$1
    shift
    echo "== $name"
    if ! wine "$@" > "$out/$name.raw" 2>&1; then echo "($name did not finish)" >> "$out/$name.raw"; fi
    tr -d '\r' < "$out/$name.raw" > "$out/$name.txt"
    rm -f "$out/$name.raw"
    grep -v '^ratio|' "$out/$name.txt" || true
}
cd "$bin"
run paint paint_bench.exe
run control-scale control_scale_bench.exe "$small" "$large" $past4g
run host-open host_open_bench.exe "$small" "$large"
EOF_WINE
export out
export bin="$tree/bin"
export small="Z:$data/random-16k.bin"
export large="Z:$data/random-1g.bin"
export past4g
./scripts/wine-env.sh "$tree" sh "$out/wine-run.sh" || echo "(the Wine session did not finish)"

echo
echo "Ratios (figures in $out; native benchmarks on x86-64 Linux, Wine benchmarks on the $arch build):"
cat "$out"/search-16m.txt "$out"/search-1g.txt "$out"/copy-16m.txt "$out"/paint.txt \
    "$out"/control-scale.txt "$out"/host-open.txt 2>/dev/null | grep '^ratio|' | awk -F'|' '
    { fig[NR] = $2; val[NR] = $3; goal[NR] = $4; ok[NR] = $5
      if (length($2) > w) w = length($2) }
    END {
        printf "%-*s  %12s  %-14s  %s\n", w, "figure", "value", "goal", "status"
        for (i = 1; i <= NR; i++) printf "%-*s  %12s  %-14s  %s\n", w, fig[i], val[i], goal[i], ok[i]
    }'
