#!/usr/bin/env bash
# Fails when a source file includes a header of a layer above its own, or when folders include each other in a
# circle. Layers, bottom first: db, common, ui, the subsystems, app. Takes the source root (default src/).
set -euo pipefail
root="${1:-$(dirname "$0")/../src}"
cd "$root"

rank() {
  case "$1" in
    db) echo 0 ;;
    common) echo 1 ;;
    ui) echo 2 ;;
    inventory | rental | members | settings | stats | maintenance) echo 3 ;;
    app) echo 4 ;;
    *) echo 9 ;;
  esac
}

status=0
edges=()
while IFS= read -r hit; do
  file="${hit%%:*}"
  target="${hit#*:}"
  target="${target#*\"}"
  target="${target%%/*}"
  from="${file%%/*}"
  [ -d "$target" ] || continue
  [ "$from" = "$target" ] && continue
  if [ "$(rank "$target")" -gt "$(rank "$from")" ]; then
    echo "layers: $file includes $target/, a layer above $from/" >&2
    status=1
  fi
  edges+=("$from $target")
done < <(grep -rHoE '^#include "[A-Za-z_]+/' --include='*.h' --include='*.cpp' . | sed 's#^\./##')

# tsort names a loop when the folders include each other in a circle.
if [ ${#edges[@]} -gt 0 ]; then
  if ! loop=$(printf '%s\n' "${edges[@]}" | sort -u | tsort 2>&1 >/dev/null); then
    echo "layers: folders include each other in a circle:" >&2
    echo "$loop" >&2
    status=1
  fi
fi
[ "$status" -eq 0 ] && echo "layers: every include points down"
exit "$status"
