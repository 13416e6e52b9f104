#!/usr/bin/env bash
# Fails when a C++ file does not follow .clang-format; lists the files to run `clang-format -i` on.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang-format >/dev/null; then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq clang-format
fi
bad=()
while IFS= read -r file; do
  clang-format --dry-run -Werror "$file" >/dev/null 2>&1 || bad+=("$file")
done < <(git ls-files '*.cpp' '*.h')
if [ ${#bad[@]} -gt 0 ]; then
  echo "Not formatted with .clang-format (run clang-format -i on them):"
  printf '  %s\n' "${bad[@]}"
  exit 1
fi
echo "format: every C++ file follows .clang-format"
