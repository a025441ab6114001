#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, ASan and UBSan) in build-fuzz/
# and runs each for SECONDS (default 60), one after the other, from a corpus
# seeded with the project's sample files and the targets' own seed
# generator. A finding stops the script with the target's output and leaves
# the input in build-fuzz/findings/.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]
#
# Corpora grow in build-fuzz/corpus/<target>/ and are reused by later runs.
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_EACH="${1:-60}"
shift || true
TARGETS=("$@")
[ ${#TARGETS[@]} -gt 0 ] || TARGETS=(fuzz_xer fuzz_node_text fuzz_key_value fuzz_layout fuzz_workbook fuzz_xlsx)
B=build-fuzz

cmake -S . -B "$B" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DTESSEL_FUZZ=ON -DTESSEL_BUILD_TESTS=OFF -DTESSEL_BUILD_APP=OFF >/dev/null
cmake --build "$B" -j "$(nproc)" --target "${TARGETS[@]}" fuzz_seeds

# Seeds: the generator's inputs, the sample schedule, the shipped layouts,
# the test workbooks and every input a finding left under tests/data/fuzz.
SEEDS="$B/seeds"
rm -rf "$SEEDS"
"$B/fuzz/fuzz_seeds" "$SEEDS"
cp samples/demo.xer "$SEEDS/fuzz_xer/"
cp Layouts/*/*.tlf "$SEEDS/fuzz_layout/"
cp Layouts/*/*.tlf "$SEEDS/fuzz_node_text/"
mkdir -p "$SEEDS/fuzz_workbook"
cp tests/data/xls/*.xls "$SEEDS/fuzz_workbook/"
# Excel 2007+ workbooks: small ones made here, and the real exports beside
# the project, whole and cut to their first rows (a whole export is larger
# than an input may be).
REAL_XLSX=(../shared/testdata/real/xlsx/*.xlsx)
[ -e "${REAL_XLSX[0]}" ] || REAL_XLSX=()
python3 scripts/make_xlsx_seeds.py "$SEEDS/fuzz_xlsx" "${REAL_XLSX[@]}"
[ ${#REAL_XLSX[@]} -eq 0 ] || cp "${REAL_XLSX[@]}" "$SEEDS/fuzz_xlsx/"
for t in "${TARGETS[@]}"; do
  if [ -d "tests/data/fuzz/$t" ]; then cp "tests/data/fuzz/$t"/* "$SEEDS/$t/"; fi
done

mkdir -p "$B/findings"
for t in "${TARGETS[@]}"; do
  mkdir -p "$B/corpus/$t"
  echo "== $t for ${SECONDS_EACH}s"
  # Inputs are kept small enough that one run covers many shapes; the large
  # shapes have tests of their own. An XER input's cost grows with its
  # length, and a few kilobytes hold every table kind. A small quarantine
  # lets freed memory be reused soon instead of faulting in fresh pages on
  # every run.
  max_len=65536
  [ "$t" = fuzz_xer ] && max_len=8192
  ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1:quarantine_size_mb=16 UBSAN_OPTIONS=print_stacktrace=1 \
    nice -n 19 "$B/fuzz/$t" "$B/corpus/$t" "$SEEDS/$t" \
    -max_total_time="$SECONDS_EACH" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$B/findings/$t-" -print_final_stats=1 2>&1 | tail -n 25
done
