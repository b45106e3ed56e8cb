#!/usr/bin/env bash
# Builds the libFuzzer targets of the file readers (clang, ASan + UBSan) into
# build-fuzz/ and runs each for the given number of seconds, one after the other.
#   scripts/fuzz.sh [SECONDS] [TARGET...]     TARGET: rtf own html text docx odt (default all)
# New inputs go to build-fuzz/corpus/<target>; findings to build-fuzz/findings/<target>.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-600}"
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(rtf own html text docx odt)

bash scripts/setup.sh
missing=()
for p in clang-14 libclang-rt-14-dev; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-fuzz -G Ninja -DFUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++-14 "${launcher[@]}" >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target $(printf 'fuzz_%s ' "${targets[@]}")

export QT_QPA_PLATFORM=offscreen
# Qt keeps some allocations until exit; leaks are not what this looks for.
export ASAN_OPTIONS="detect_leaks=0:allocator_may_return_null=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
status=0
for t in "${targets[@]}"; do
  mkdir -p "build-fuzz/corpus/$t" "build-fuzz/findings/$t"
  echo "== fuzz_$t for ${seconds}s"
  # Limits allow for ASan's slowdown and memory; a hang or runaway allocation still stops it.
  rc=0
  build-fuzz/fuzz/fuzz_$t "build-fuzz/corpus/$t" "fuzz/corpus/$t" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 -malloc_limit_mb=512 \
    -max_len=65536 -print_final_stats=1 -artifact_prefix="build-fuzz/findings/$t/" \
    >"build-fuzz/fuzz_$t.log" 2>&1 || rc=$?
  grep -E "stat::|ERROR|SUMMARY|Test unit written" "build-fuzz/fuzz_$t.log" || true
  [ "$rc" -eq 0 ] || status=1
done
exit $status
