#!/usr/bin/env bash
# The kill tests of saving and of the command's outputs; not part of the
# normal test run (a few minutes).
#
# 1. A process saves two design sets in turn and is killed outright
#    (SIGKILL) at random moments. After every kill the design file must hold
#    the old or the new set, whole; the next save must leave no temporary
#    file beside it.
# 2. vantrel-design writing -o (a line list's JSON), --save (a list of 30
#    rows: three design files) and --pdf (a circuit bill) is killed outright
#    at random moments while it replaces outputs of an earlier run. After
#    every kill each output must be the old one or the new one, complete
#    (never partial), the three design files all old or all new (never
#    mixed); the next run must leave no temporary beside them.
#
#   bash scripts/kill_test.sh [BUILD_DIR] [KILLS] [COMMAND_KILLS]   (defaults: build 1000 250)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
kills=${2:-1000}
command_kills=${3:-250}
helper="$build/tests/design_file_save_loop"
template="$build/bin/stdata.mdb"
prog="$build/bin/vantrel-design"
if [ ! -x "$helper" ] || [ ! -f "$template" ] || [ ! -x "$prog" ]; then
  echo "kill test: build first (cmake --build $build --target design_file_save_loop vst_design_template vantrel-design)" >&2
  exit 2
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
target="$work/set.mdb"
leftovers() { find "$work" -maxdepth 1 -name '.*.tmp' | wc -l; }
failed=0

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
[ "$bad" -eq 0 ] && [ "$left_after_save" -eq 0 ] || failed=1

# ---- The command: -o, --save, --pdf ----------------------------------------
examples=data/examples/line_list.csv
for set in A B; do
  (head -1 "$examples"; for i in $(seq 30); do sed -n "$((i % 4 + 2))p" "$examples" | sed "s/^ST-[0-9]*/$set$i/"; done) \
    > "$work/$set.csv"
  "$prog" design "$work/$set.csv" -o "$work/$set.json" --save "$work/$set.mdb" 2> /dev/null
done
# Which run a file came from: A, B, or "partial" for anything else.
json_of() { if cmp -s "$1" "$work/A.json"; then echo A; elif cmp -s "$1" "$work/B.json"; then echo B; else echo partial; fi; }
sets_of() {  # the run each of out-1..3.mdb came from, or "partial"
  local n name
  for n in 1 2 3; do
    name=$("$prog" show "$work/out-$n.mdb" 2> /dev/null | grep -o '"CIRTXT":"[AB]' | head -1 | tail -c 2 || true)
    case $name in A | B) echo "$name" ;; *) echo partial ;; esac
  done
}
pdf_of() {
  if [ "$(tail -c 6 "$1" | tr -d '\n\r')" != "%%EOF" ]; then echo partial; return; fi
  case $(pdftotext "$1" - 2> /dev/null | grep -o 'Circuit No.= [AB]' | head -1 || true) in
    *A) echo A ;; *B) echo B ;; *) echo partial ;;
  esac
}
command_of() {  # kind, set: the command line of the run
  case $1 in
    -o) echo design "$work/$2.csv" -o "$work/out.json" ;;
    --save) echo design "$work/$2.csv" -o "$work/ignored.json" --save "$work/out.mdb" ;;
    --pdf) echo show "$work/$2-1.mdb" --bill 1 --pdf "$work/out.pdf" -o "$work/ignored.json" ;;
  esac
}
run() {  # kind, set
  # shellcheck disable=SC2046
  "$prog" $(command_of "$1" "$2") 2> /dev/null
}
state() {  # kind: A, B, partial or mixed
  case $1 in
    -o) json_of "$work/out.json" ;;
    --pdf) pdf_of "$work/out.pdf" ;;
    --save)
      local s
      s=$(sets_of | sort -u | tr '\n' ' ')
      case $s in "A ") echo A ;; "B ") echo B ;; *partial*) echo partial ;; *) echo mixed ;; esac
      ;;
  esac
}
for kind in -o --save --pdf; do
  old=0 new=0 partial=0 mixed=0 left_after_kill=0 left_after_run=0
  run "$kind" A
  # The run's length, to spread the kills over all of it and a little beyond.
  start=$(date +%s%N)
  run "$kind" A
  span=$((($(date +%s%N) - start) / 1000000 * 12 / 10 + 1))
  for ((i = 1; i <= command_kills; i++)); do
    # The program itself in the background (not a shell around it), so
    # that the kill reaches it.
    # shellcheck disable=SC2046
    "$prog" $(command_of "$kind" B) 2> /dev/null &
    pid=$!
    sleep "$(printf '0.%03d' $((RANDOM % span)))"
    kill -KILL "$pid" 2> /dev/null || true
    wait "$pid" 2> /dev/null || true
    case $(state "$kind") in
      A) old=$((old + 1)) ;; B) new=$((new + 1)) ;;
      mixed) mixed=$((mixed + 1)); echo "$kind kill $i: old and new design files mixed" ;;
      *) partial=$((partial + 1)); echo "$kind kill $i: a partial output" ;;
    esac
    [ "$(leftovers)" -eq 0 ] || left_after_kill=$((left_after_kill + 1))
    run "$kind" A || true
    if [ "$(leftovers)" -ne 0 ] || [ "$(state "$kind")" != A ]; then
      left_after_run=$((left_after_run + 1))
      echo "$kind kill $i: the next run left a temporary or did not put its output in place"
    fi
  done
  echo "kill test $kind: $command_kills kills over ${span} ms; old $old, new $new, partial $partial, mixed $mixed;" \
    "$left_after_kill kills left a temporary, $left_after_run remained after the next run"
  [ "$partial" -eq 0 ] && [ "$mixed" -eq 0 ] && [ "$left_after_run" -eq 0 ] || failed=1
done
exit $failed
