#!/usr/bin/env bash
# The layer check must pass on a tree whose includes point down and fail on an upward include or a circle.
set -u
check="$1"
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree"/{db,common,ui,rental,members,app}
echo '#include "db/Connection.h"' >"$tree/ui/Grid.cpp"
echo '#include "members/MemberCommon.h"' >"$tree/rental/Rentals.cpp"
echo '#include "rental/Rentals.h"' >"$tree/app/Views.cpp"
failures=0
expect() {
  local want="$1" what="$2"
  if "$check" "$tree" >/dev/null 2>&1; then got=pass; else got=fail; fi
  if [ "$got" != "$want" ]; then
    echo "FAILED: $what: the check should $want"
    failures=$((failures + 1))
  fi
}
expect pass "includes that point down"
echo '#include "app/Views.h"' >"$tree/ui/Back.cpp"
expect fail "a grid including the composition root"
rm "$tree/ui/Back.cpp"
echo '#include "rental/Rentals.h"' >"$tree/members/Back.cpp"
expect fail "two subsystems including each other"
rm "$tree/members/Back.cpp"
expect pass "the tree mended again"
[ "$failures" -eq 0 ] && echo "layer check: 4 cases passed"
exit "$failures"
