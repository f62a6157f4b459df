#!/usr/bin/env bash
# Fails when a C++ source of src/, tests/, bench/ or fuzz/ is not formatted the way the
# repository's .clang-format asks, naming every such file.
#   scripts/check-format.sh
set -euo pipefail
cd "$(dirname "$0")/.."
clang_format=${CLANG_FORMAT:-clang-format}
command -v "$clang_format" >/dev/null || { echo "check-format: no $clang_format" >&2; exit 1; }

# The files git knows; from an unpacked source tree without git, every file there.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -d '' files < <(git ls-files -z -- '*.cpp' '*.h' |
        grep -z -E '^(src|tests|bench|fuzz)/')
else
    mapfile -d '' files < <(find src tests bench fuzz -type f \( -name '*.cpp' -o -name '*.h' \) \
        -print0 2>/dev/null | sort -z)
fi
[ "${#files[@]}" -gt 0 ] || { echo "check-format: no C++ sources found" >&2; exit 1; }

bad=()
for file in "${files[@]}"; do
    if ! output=$("$clang_format" --dry-run -Werror "$file" 2>&1); then
        bad+=("$file")
        # Anything but a formatting difference (a broken .clang-format, say) is shown.
        grep -q -- '-Wclang-format-violations' <<<"$output" || echo "$output" >&2
    fi
done
if [ "${#bad[@]}" -gt 0 ]; then
    echo "check-format: ${#bad[@]} of ${#files[@]} files are not formatted" \
        "(clang-format -i FILE, with the repository's .clang-format):" >&2
    printf '  %s\n' "${bad[@]}" >&2
    exit 1
fi
echo "check-format: all ${#files[@]} C++ sources are formatted"
