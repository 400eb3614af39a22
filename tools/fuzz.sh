#!/usr/bin/env bash
# Fuzzes the WAV structure check with libFuzzer (clang) for the given number of seconds (default 60),
# growing the kept corpus in tests/fuzz/wav_corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
mkdir -p build/fuzz tests/fuzz/wav_corpus
clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -I. \
  tests/fuzz/wav_check_fuzz.cpp resources/wav_check.cpp \
  $(pkg-config --cflags --libs allegro_audio-5 allegro-5) -o build/fuzz/wav_check_fuzz
build/fuzz/wav_check_fuzz -max_total_time="$seconds" -max_len=4096 tests/fuzz/wav_corpus
