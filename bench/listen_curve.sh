#!/usr/bin/env bash
# How well ao07-listen copies the beacon, beside a common command-line CW decoder run on the same
# files in the same run (sox IN.wav -t raw -r 22050 ... | multimon-ng -a MORSE_CW), from a fresh
# Release build:
#   - the digit error from -25 to +10 dB signal-to-noise (key-down tone power over noise in
#     3 kHz) for plain audio at 20 wpm, impaired audio (drift 10 Hz/s, wobble +-20 Hz at 1 Hz and
#     fading 10 dB over 5 s together), another station 150 Hz away at the same strength, and
#     35 wpm; scored by bench/listen_score.py, which says how;
#   - ten minutes of noise alone;
#   - speed (times real time on one core at 8 kHz and 48 kHz) and peak memory on two hours.
# The audio comes from ao07-beacon-synth with the benchmark's seeds (kBenchmarkSeedBase in
# bench/listen_bench.cpp), never used by the tests or in tuning. Writes the curve as a PNG.
# Usage: bench/listen_curve.sh [RECORDINGS_PER_POINT]   (default 4: 8 frames a point, 4 impaired)
set -euo pipefail
cd "$(dirname "$0")/.."

per_point=${1:-4}
build=${AO07_BENCH_BUILD:-build/bench-release}
jobs=${AO07_BENCH_JOBS:-2}
png=${AO07_CURVE_PNG:-docs/listen-curve.png}
read -r -a snrs <<<"${AO07_BENCH_SNRS:--25 -20 -17 -15 -14 -13 -12 -11 -10 -8 -5 -3 0 5 10}"
conditions=(plain impaired qrm wpm35)

scripts/install-deps.sh bench
mkdir -p "$build"
log="$build/listen-bench-build.log"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DAO07_BUILD_TESTS=OFF \
    >"$log" 2>&1 || { cat "$log"; exit 1; }
cmake --build "$build" -j2 --target ao07-listen ao07-beacon-synth >>"$log" 2>&1 ||
    { cat "$log"; exit 1; }
listen=$(realpath "$build/cli/ao07-listen")
synth=$(realpath "$build/audio/synth/ao07-beacon-synth")
seed_base=$(sed -n 's/.*kBenchmarkSeedBase = \([0-9]*\).*/\1/p' bench/listen_bench.cpp)
[ -n "$seed_base" ] || { echo "no kBenchmarkSeedBase in bench/listen_bench.cpp" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export listen synth work

# One recording of one point: made, copied by both decoders, and deleted again.
# Arguments: CONDITION SNR SEED INDEX. The tone is the seed's own, 400 to 1400 Hz; the drifting
# tone of impaired audio starts low and rises or starts high and falls, one frame a recording,
# so that it stays within 300 to 1500 Hz; the other station is above or below the beacon.
one_recording() {
    local condition=$1 snr=$2 seed=$3 index=$4
    local name="$work/$condition.$snr.$index" frames=2 sign=$((index % 2 == 0 ? 1 : -1))
    local args=(--tone $((400 + seed * 389 % 1001)))
    case $condition in
        impaired)
            frames=1
            args=(--tone $((sign > 0 ? 450 : 1350)) --drift $((10 * sign)) --wobble 20
                --wobble-period 1 --fade 10 --fade-period 5) ;;
        qrm) args+=(--qrm-offset $((150 * sign)) --qrm-level 0) ;;
        wpm35) args+=(--wpm 35) ;;
    esac
    "$synth" --frames "$frames" --snr "$snr" --seed "$seed" "${args[@]}" -o "$name.wav" \
        --truth "$name.sent"
    "$listen" -o "$name.log" "$name.wav" 2>/dev/null || true
    sox "$name.wav" -t raw -r 22050 -e signed -b 16 -c 1 - |
        multimon-ng -q -t raw -a MORSE_CW - >"$name.mm" 2>/dev/null || true
    rm -f "$name.wav"
    echo "$condition $snr ao07-listen $name.sent $name.log"
    echo "$condition $snr multimon-ng $name.sent $name.mm"
}
export -f one_recording

echo "Error curves: ${#conditions[@]} conditions x ${#snrs[@]} levels x $per_point recordings" \
    "(seeds from $seed_base), $jobs at a time"
for c in "${!conditions[@]}"; do
    for s in "${!snrs[@]}"; do
        for k in $(seq 0 $((per_point - 1))); do
            echo "${conditions[$c]} ${snrs[$s]} $((seed_base + c * 10000 + s * 100 + k)) $k"
        done
    done
done | xargs -P "$jobs" -L 1 bash -c 'one_recording "$@"' _ >"$work/manifest"
python3 bench/listen_score.py <"$work/manifest" >"$work/curve.dat"
{
    printf '%-9s %7s %14s %14s %14s %14s\n' condition "SNR dB" "listen error" "listen wrong" \
        "multimon error" "multimon wrong"
    awk '!/^#/ { e[$1" "$2" "$3] = $5; w[$1" "$2" "$3] = $6; d[$1" "$2] = $4; k[$1" "$2] = 1 }
        END { for (p in k) print p, d[p], e[p" ao07-listen"], w[p" ao07-listen"],
                                     e[p" multimon-ng"], w[p" multimon-ng"] }' "$work/curve.dat" |
        sort -k1,1 -k2,2g |
        awk '{ printf "%-9s %7s %13s%% %13s%% %13s%% %13s%%   (%s value digits)\n",
                      $1, $2, $4, $5, $6, $7, $3 }'
}

# The curve: digit error against SNR, ao07-listen solid, multimon-ng dashed.
for condition in "${conditions[@]}"; do
    for decoder in ao07-listen multimon-ng; do
        awk -v c="$condition" -v d="$decoder" '$1 == c && $3 == d { print $2, $5 }' \
            "$work/curve.dat" >"$work/$condition.$decoder.xy"
    done
done
gnuplot <<PLOT
set terminal pngcairo size 720,420 font "Sans,10"
set output "$png"
set title "Digit error (wrong, x or missed) of generated AO-07 beacon audio"
set xlabel "SNR, dB (key-down tone power over noise in 3 kHz)"
set ylabel "digit error, %"
set xrange [-25:10]
set yrange [0:100]
set grid
set key outside right
conditions = "plain impaired qrm wpm35"
plot for [i=1:4] "$work/".word(conditions, i).".ao07-listen.xy" with linespoints \
         linecolor i pointtype 7 title "ao07-listen ".word(conditions, i), \
     for [i=1:4] "$work/".word(conditions, i).".multimon-ng.xy" with linespoints \
         linecolor i pointtype 6 dashtype 2 title "multimon-ng ".word(conditions, i)
PLOT
echo "Curve written to $png"

# Ten minutes of noise alone.
"$synth" --frames 0 --lead 600 --tail 0 --seed $((seed_base + 99999)) -o "$work/noise.wav"
"$listen" -o "$work/noise.log" "$work/noise.wav" 2>/dev/null || true
rows=$(grep -cE '^[1-6][0-9x]{2} ' "$work/noise.log" || true)
markers=$(grep -c '^HI HI' "$work/noise.log" || true)
noise_digits=$(sox "$work/noise.wav" -t raw -r 22050 -e signed -b 16 -c 1 - |
    multimon-ng -q -t raw -a MORSE_CW - 2>/dev/null | sed 's/<[^>]*>//g' | tr -cd '0-9' | wc -c)
echo "Ten minutes of noise alone: ao07-listen wrote $rows rows and $markers HI HI;" \
    "multimon-ng wrote $noise_digits digits"

# Speed on one core, on ten minutes of plain audio at -10 dB, and memory on two hours of it.
for rate in 8000 48000; do
    "$synth" --frames 7 --snr -10 --rate "$rate" --seed $((seed_base + 99998)) \
        --lead 30 -o "$work/ten.$rate.wav"
    seconds=$(soxi -D "$work/ten.$rate.wav")
    read -r wall user sys rss < <(taskset -c 0 /usr/bin/time -f '%e %U %S %M' \
        "$listen" -o /dev/null "$work/ten.$rate.wav" 2>&1 >/dev/null | tail -1)
    awk -v a="$seconds" -v w="$wall" -v u="$user" -v s="$sys" -v r="$rate" -v m="$rss" \
        'BEGIN { printf "Speed at %d Hz: %.0f s of audio in %.2f s of CPU (%.2f s wall): " \
                 "%.0f times real time on one core; peak memory %.1f MB\n",
                 r, a, u + s, w, a / (u + s), m / 1024 }'
done
sox "$work/ten.8000.wav" "$work/long.8000.wav" repeat 11
rss=$(/usr/bin/time -v "$listen" -o /dev/null "$work/long.8000.wav" 2>&1 >/dev/null |
    sed -n 's/.*Maximum resident set size (kbytes): //p')
echo "Two hours at 8 kHz from a file: peak memory $((rss / 1024)) MB"
rm -f "$work/long.8000.wav"
rss=$(sox "$work/ten.48000.wav" -t raw -e signed -b 16 -c 1 - repeat 11 |
    /usr/bin/time -v "$listen" --rate 48000 -o /dev/null - 2>&1 >/dev/null |
    sed -n 's/.*Maximum resident set size (kbytes): //p')
echo "Two hours at 48 kHz from standard input: peak memory $((rss / 1024)) MB"
