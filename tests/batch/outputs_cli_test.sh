#!/usr/bin/env bash
# Every output of vantrel-design is safe to point anywhere, and every input it
# reads gets a clear message: FIFOs and devices stay what they are, links and
# modes are kept, a failed run replaces nothing, a full disk is reported,
# spreadsheets get no formulas, damaged or changed design files are refused.
# Devices are private nodes in the test's folder, never the system's.
# Arguments: the program, the folder of example line lists.
set -u
prog=$1
examples=$2
work=$(mktemp -d)
trap 'umount "$work/small" 2> /dev/null; rm -rf "$work"' EXIT
fail=0
check() {  # description, expected status, actual status
  if [ "$2" != "$3" ]; then echo "FAIL: $1 (status $3, expected $2)"; cat "$work/err" 2> /dev/null; fail=1; else echo "ok: $1"; fi
}
contains() {  # description, file, text
  if grep -qF -- "$3" "$2"; then echo "ok: $1"; else echo "FAIL: $1: '$3' not in $2"; cat "$2"; fail=1; fi
}
same() {  # description, actual, expected
  if [ "$2" = "$3" ]; then echo "ok: $1"; else echo "FAIL: $1: '$2', expected '$3'"; fail=1; fi
}
leftovers() { find "$work" -name '.*.tmp' | wc -l; }
list=$examples/line_list.csv
hdr=$(head -1 "$list")

# A FIFO gets the output and stays a FIFO; so does a device node.
mkfifo "$work/pipe"
cat "$work/pipe" > "$work/from-pipe" &
"$prog" design "$list" -o "$work/pipe" 2> "$work/err"; check "-o onto a FIFO" 0 $?
wait
same "the FIFO stays a FIFO" "$(stat -c %F "$work/pipe")" "fifo"
python3 -c 'import json,sys; json.load(open(sys.argv[1]))' "$work/from-pipe" && echo "ok: the reader got the whole JSON" || { echo "FAIL: FIFO data"; fail=1; }
if mknod "$work/null" c 1 3 2> /dev/null && mknod "$work/null.csv" c 1 3; then
  "$prog" design "$list" -o "$work/null" --save "$work/null" --summary "$work/null.csv" 2> "$work/err"
  check "-o, --save and --summary onto a device" 0 $?
  same "the devices stay devices" "$(stat -c %F "$work/null" "$work/null.csv" | sort -u)" "character special file"
else
  echo "skipped: making a device node needs the superuser"
fi

# A link is followed and stays a link; a replaced file keeps its mode.
mkdir "$work/real"
echo old > "$work/real/out.json"
chmod 600 "$work/real/out.json"
ln -s real/out.json "$work/link.json"
"$prog" design "$list" -o "$work/link.json" 2> "$work/err"; check "-o onto a link" 0 $?
[ -L "$work/link.json" ] && echo "ok: the link stays a link" || { echo "FAIL: link replaced"; fail=1; }
same "the linked file keeps its mode" "$(stat -c %a "$work/real/out.json")" "600"
same "no temporary is left" "$(leftovers)" 0

# Empty names and names with line breaks.
"$prog" design "$list" --save "" > /dev/null 2> "$work/err"; check '--save "" is a usage error' 2 $?
contains '--save "" says why' "$work/err" "option --save needs a file name"
"$prog" design "$list" -o "$work/no such
vantrel-design: forged/out.json" 2> "$work/err"; check "an output in a missing folder" 1 $?
same "a name with a line break stays on one line" "$(wc -l < "$work/err")" 1
contains "the name is quoted with its line break escaped" "$work/err" 'no such\nvantrel-design: forged/out.json"'

# A run that fails replaces nothing: not -o, not any file of --save.
(echo "$hdr"; for i in $(seq 23); do sed -n "$(( i % 4 + 2 ))p" "$list" | sed "s/^ST-[0-9]*/R$i/"; done
 printf 'R24,"open\n') > "$work/breaks.csv"
for f in out.json s-1.mdb s-2.mdb s-3.mdb; do echo old > "$work/$f"; done
"$prog" design "$work/breaks.csv" -o "$work/out.json" --save "$work/s.mdb" 2> "$work/err"
check "a list that breaks off at its last line" 1 $?
same "no file of the run was replaced" "$(cat "$work"/out.json "$work"/s-?.mdb | sort -u)" "old"
same "no temporary is left" "$(leftovers)" 0

# Rows beyond the limits and fractional shoes are errors of their rows.
python3 - "$work/long.csv" "$hdr" "$(sed -n 2p "$list")" <<'PY'
import sys
row = sys.argv[3].split(",")
with open(sys.argv[1], "w") as f:
    f.write(sys.argv[2] + "\n" + "C" * 5000 + "," + ",".join(row[1:]) + "\n")
    f.write(",".join(row[:-1]) + ",12x4.5\n" + sys.argv[3] + "\n")
PY
"$prog" design "$work/long.csv" --save "$work/long.mdb" -o "$work/long.json" 2> "$work/err"; check "over-long and fractional rows" 3 $?
python3 - "$work/long.json" <<'PY' || fail=1
import json, sys
c = json.load(open(sys.argv[1]))["circuits"]
assert [x["ok"] for x in c] == [False, False, True], [x["messages"] for x in c]
assert c[0]["messages"] == [{"title": "Input Error", "text": "line 2: field CIRTXT is longer than 4,096 bytes"}], c[0]["messages"]
assert "is not a whole number" in c[1]["messages"][0]["text"], c[1]["messages"]
print("ok: each refused row says why, the others are designed")
PY
contains "one saved row in the singular" "$work/err" "long.mdb holds row 3 as record 1"

# No formulas reach a spreadsheet, no control characters a terminal.
python3 - "$work/formula.csv" "$hdr" "$(sed -n 2p "$list")" <<'PY'
import sys
rest = sys.argv[3].split(",", 2)[2]
with open(sys.argv[1], "w") as f:
    f.write(sys.argv[2] + "\n" + '"=HYPERLINK(""http://x"")",@SUM(A1),' + rest + "\n+1+2,-2-3," + rest + "\n")
PY
"$prog" design "$work/formula.csv" --format csv -o "$work/formula.out.csv" --save "$work/formula.mdb" 2> "$work/err"
check "design a list with formula texts" 0 $?
python3 - "$work/formula.mdb" <<'PY'
import sqlite3, sys
db = sqlite3.connect(sys.argv[1])
db.execute("DROP TABLE DATACHECK")  # as another program would edit it
db.execute("UPDATE DATA SET PIPETXT = 'esc' || char(27) || '[31m bel' || char(7) WHERE rowid = 2")
db.commit()
PY
"$prog" show "$work/formula.mdb" --format csv -o "$work/show.csv" 2> "$work/err"; check "show as CSV" 0 $?
"$prog" show "$work/formula.mdb" --circuit-list --format csv -o "$work/list.csv" 2> "$work/err"; check "circuit list as CSV" 0 $?
python3 - "$work" <<'PY' || fail=1
import csv, sys
w = sys.argv[1]
for name in ("formula.out.csv", "show.csv", "list.csv"):
    text = open(f"{w}/{name}", encoding="utf-8-sig").read()
    cells = [c for row in csv.reader(text.splitlines()) for c in row]
    bad = [c for c in cells if c.lstrip(" ")[:1] in ("=", "+", "@", "\t", "\r") and not c.lstrip(" +").replace(".", "", 1).isdigit()]
    assert not bad, (name, bad)
    assert "'=HYPERLINK" in text and "'@SUM(A1)" in text, name
    assert not any(ord(ch) < 32 and ch not in "\t\r\n" for ch in text), name
assert "esc\ufffd[31m bel\ufffd" in open(f"{w}/show.csv", encoding="utf-8-sig").read()
print("ok: formula texts carry a leading quote, control characters are U+FFFD")
PY

# Design files: changed, damaged or odd files are refused with their reason.
"$prog" design "$list" --save "$work/set.mdb" > /dev/null 2>&1
cp "$work/set.mdb" "$work/changed.mdb"
python3 -c 'import sqlite3,sys; d=sqlite3.connect(sys.argv[1]); d.execute("UPDATE DATA SET PIPELN = 999 WHERE rowid = 1"); d.commit()' "$work/changed.mdb"
cp "$work/set.mdb" "$work/position.mdb"
python3 -c 'import sqlite3,sys; d=sqlite3.connect(sys.argv[1]); d.execute("DROP TABLE DATACHECK"); d.execute("UPDATE DATA SET INSTYPE = 1000000 WHERE rowid = 2"); d.commit()' "$work/position.mdb"
cp "$work/set.mdb" "$work/wal.mdb"
python3 -c 'import sqlite3,sys; d=sqlite3.connect(sys.argv[1]); d.execute("PRAGMA journal_mode=WAL"); d.close()' "$work/wal.mdb"
printf x > "$work/one-byte.mdb"
ln -s loop-b.mdb "$work/loop-a.mdb"; ln -s loop-a.mdb "$work/loop-b.mdb"
cp "$work/set.mdb" "$work/hot.mdb"
printf '\xd9\xd5\x05\xf9\x20\xa1\x63\xd7rest of a journal' > "$work/hot.mdb-journal"
while IFS='|' read -r file status message; do
  "$prog" show "$work/$file" > /dev/null 2> "$work/err"; check "show $file" "$status" $?
  [ -n "$message" ] && contains "$file: $message" "$work/err" "$message"
done <<'CASES'
changed.mdb|1|it was changed outside Vantrel ST or damaged
position.mdb|1|record 2, column INSTYPE: 1000000 is no entry of its list (0 to 7)
one-byte.mdb|1|not a design file (it is no database, only 1 byte long)
loop-a.mdb|1|the name is a loop of symbolic links
hot.mdb|1|another program left an unfinished change to it in
wal.mdb|0|
CASES
[ ! -e "$work/wal.mdb-wal" ] && [ ! -e "$work/wal.mdb-shm" ] && echo "ok: show leaves no side files" || { echo "FAIL: side files"; fail=1; }

# No output replaces what the run reads, through its own name, another
# relative name, a symbolic link or a hard link; nor do two outputs of one run
# write one file. Each is a usage error, and nothing at all is written.
mkdir "$work/own"
cp "$list" "$work/own/list.csv"; cp "$work/set.mdb" "$work/own/set.mdb"
ln -s list.csv "$work/own/link.csv"; ln "$work/own/list.csv" "$work/own/hard.csv"
ln -s set.mdb "$work/own/link.mdb"; ln "$work/own/set.mdb" "$work/own/hard.mdb"
own() { (cd "$work/own" && "$prog" "$@" > /dev/null 2> "$work/err"); }
for names in "list set" "link link" "hard hard" "../own/list ../own/set"; do
  read -r n m <<< "$names"
  for option in -o --save --summary; do
    own design list.csv "$option" "$n.csv"; check "design $option $n.csv" 2 $?
    contains "design $option $n.csv names both" "$work/err" "$option $n.csv is the line list list.csv itself"
  done
  for option in -o "--summary --pdf" "--bill 1 --xlsx"; do
    # shellcheck disable=SC2086
    own show set.mdb $option "$m.mdb"; check "show $option $m.mdb" 2 $?
    contains "show $option $m.mdb names both" "$work/err" "$m.mdb is the design file set.mdb itself"
  done
done
own design - -o hard.csv < "$work/own/list.csv"; check "-o onto the file standard input reads" 2 $?
own design list.csv -o out.csv --summary ./out.csv; check "-o and --summary onto one file" 2 $?
contains "both outputs are named" "$work/err" "-o out.csv and --summary ./out.csv name the same file"
ln "$work/own/list.csv" "$work/own/s-2.mdb"
own design list.csv --save s.mdb; check "--save whose second file would be the list" 2 $?
contains "the file of the save is named" "$work/err" "--save s.mdb (s-2.mdb) is the line list list.csv itself"
own show set.mdb --summary --pdf sum.pdf --xlsx sum.pdf; check "--pdf and --xlsx onto one file" 2 $?
cmp -s "$list" "$work/own/list.csv" && cmp -s "$work/set.mdb" "$work/own/set.mdb" &&
  echo "ok: the list and the design file are as they were" || { echo "FAIL: an input was changed"; fail=1; }
same "nothing was written beside them" "$(ls -A "$work/own" | tr '\n' ' ')" \
  "hard.csv hard.mdb link.csv link.mdb list.csv s-2.mdb set.mdb "

# Printouts: no Qt diagnostics on the output; a full disk fails and keeps the old file.
env -u XDG_RUNTIME_DIR "$prog" show "$work/set.mdb" --bill 1 --pdf "$work/bill.pdf" -o "$work/bill.json" 2> "$work/err"
check "a printout without a runtime folder" 0 $?
same "nothing but the command's own messages" "$(cat "$work/err")" ""
if [ "$(id -u)" = 0 ] && unshare -m true 2> /dev/null; then
  mkdir "$work/small"
  unshare -m sh -c '
    mount -t tmpfs -o size=16k tmpfs "$1/small" || exit 9
    echo old > "$1/small/bill.pdf"
    "$2" show "$1/set.mdb" --bill 1 --pdf "$1/small/bill.pdf" -o "$1/bill.json" 2> "$1/err"
    status=$?
    cat "$1/small/bill.pdf" > "$1/kept"; ls -A "$1/small" > "$1/names"
    exit $status' sh "$work" "$prog"
  check "a printout onto a full disk" 1 $?
  contains "the full disk is named" "$work/err" "the disk is full"
  same "the old printout stays" "$(cat "$work/kept")" "old"
  same "nothing else is left on the disk" "$(cat "$work/names")" "bill.pdf"
else
  echo "skipped: a full disk needs a small file system, which only the superuser mounts"
fi
exit $fail
