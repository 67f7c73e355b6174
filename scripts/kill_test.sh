#!/usr/bin/env bash
# The kill test of saving: a process saves two design sets in turn and is
# killed outright (SIGKILL) at random moments. After every kill the design
# file must hold the old or the new set, whole; the next save must leave no
# temporary file beside it. Not part of the normal test run (about a minute).
#
#   bash scripts/kill_test.sh [BUILD_DIR] [KILLS]     (defaults: build 1000)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
kills=${2:-1000}
helper="$build/tests/design_file_save_loop"
template="$build/bin/stdata.mdb"
if [ ! -x "$helper" ] || [ ! -f "$template" ]; then
  echo "kill test: build first (cmake --build $build --target design_file_save_loop vst_design_template)" >&2
  exit 2
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
target="$work/set.mdb"
leftovers() { find "$work" -maxdepth 1 -name '.set.mdb.*.tmp' | wc -l; }

"$helper" once "$template" "$target"
held_a=0 held_b=0 bad=0 left_after_kill=0 left_after_save=0
for ((i = 1; i <= kills; i++)); do
  "$helper" loop "$template" "$target" &
  pid=$!
  # 1 to 40 ms: the process is then in the middle of one of its saves.
  sleep "0.$(printf '%03d' $((RANDOM % 40 + 1)))"
  kill -KILL "$pid"
  wait "$pid" 2> /dev/null || true
  if result=$("$helper" check "$target"); then
    case $result in A) held_a=$((held_a + 1)) ;; B) held_b=$((held_b + 1)) ;; esac
  else
    bad=$((bad + 1))
    echo "kill $i: $result"
    cp "$target" "$build/kill-test-failure-$i.mdb"
  fi
  [ "$(leftovers)" -eq 0 ] || left_after_kill=$((left_after_kill + 1))
  "$helper" once "$template" "$target"
  if [ "$(leftovers)" -ne 0 ]; then
    left_after_save=$((left_after_save + 1))
    echo "kill $i: a temporary file is left after the next save"
  fi
  if ! "$helper" check "$target" > /dev/null; then
    bad=$((bad + 1))
    echo "kill $i: the save after the kill did not give set A"
  fi
done
echo "kill test: $kills kills; file held the old or new set $((held_a + held_b)) times (A $held_a, B $held_b)," \
  "neither $bad times; $left_after_kill kills left a temporary file, $left_after_save remained after the next save"
[ "$bad" -eq 0 ] && [ "$left_after_save" -eq 0 ]
