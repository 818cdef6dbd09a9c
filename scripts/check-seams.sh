#!/usr/bin/env bash
# Only platform/ (and its tests, and benchmarks that compare with outside
# libraries) may include operating-system or outside-library headers.
# Everything else reaches them through the platform layer.
set -u
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root" || exit 2
pattern='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](unistd\.h|fcntl\.h|pthread\.h|dirent\.h|dlfcn\.h|iconv\.h|cpuid\.h|x86intrin\.h|immintrin\.h|spawn\.h|semaphore\.h|sched\.h|poll\.h|netdb\.h|termios\.h|glob\.h|fnmatch\.h|sys/[^>"]*|netinet/[^>"]*|arpa/[^>"]*|SDL[^>"]*|SDL2/[^>"]*|png\.h|pngconf\.h|jpeglib\.h|jerror\.h|zstd\.h|zlib\.h|mpg123\.h|lame\.h|lame/lame\.h)[>"]'
bad=$(grep -rnE "$pattern" --include='*.h' --include='*.hpp' --include='*.cpp' --include='*.c' . \
      | grep -vE '^\./(platform|tests/platform|bench|build[^/]*|\.git)/' )
if [ -n "$bad" ]; then
  echo "Only platform/ may include system or outside-library headers; found:"
  echo "$bad"
  exit 1
fi
echo "seams: clean"
