#!/usr/bin/env bash
# Fuzzes the WAV structure check with libFuzzer (clang) for the given number of seconds (default 60): every
# byte string must get an answer, and every one it accepts must load through Allegro without a hang or a
# huge allocation. Grows the kept corpus in tests/fuzz/wav_corpus, then shrinks it to the inputs that
# matter.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

# Only fuzzing needs clang and its libFuzzer runtime; install whichever is missing.
packages=(clang libclang-rt-14-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  echo "Installing: ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

mkdir -p build/fuzz tests/fuzz/wav_corpus
clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -I. \
  tests/fuzz/wav_check_fuzz.cpp resources/wav_check.cpp \
  $(pkg-config --cflags --libs allegro_audio-5 allegro_acodec-5 allegro_memfile-5 allegro-5) \
  -o build/fuzz/wav_check_fuzz
# A hang is what the check exists to prevent: a few seconds on one input is a failure. So is a large
# allocation: no accepted input may make Allegro reserve more than a small multiple of its size.
build/fuzz/wav_check_fuzz -max_total_time="$seconds" -max_len=4096 -timeout=5 -malloc_limit_mb=64 \
  tests/fuzz/wav_corpus

# Keep the corpus small: only the inputs that reach new code.
merged=$(mktemp -d build/fuzz/merged.XXXXXX)
build/fuzz/wav_check_fuzz -merge=1 "$merged" tests/fuzz/wav_corpus
rm -rf tests/fuzz/wav_corpus
mv "$merged" tests/fuzz/wav_corpus
echo "corpus: $(ls tests/fuzz/wav_corpus | wc -l) files"
