#!/usr/bin/env python3
"""Damage a design file many times and count what opening it makes of it.

Each trial copies a saved design file, flips one bit or overwrites one byte at
a random place, and shows the copy with vantrel-design. A trial ends in one of:
  refused     the command refuses the file (exit 1) with a message
  unchanged   it opens and shows exactly the saved records
  changed     it opens and shows other values: damage that went unnoticed
Not part of the normal test run (a few minutes).

    python3 scripts/flip_test.py [BUILD_DIR] [TRIALS] [SEED]    (defaults: build 3000 1)
"""
import os
import random
import re
import subprocess
import sys
import tempfile

build = sys.argv[1] if len(sys.argv) > 1 else "build"
trials = int(sys.argv[2]) if len(sys.argv) > 2 else 3000
seed = int(sys.argv[3]) if len(sys.argv) > 3 else 1
prog = os.path.join(build, "bin", "vantrel-design")
root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
line_list = os.path.join(root, "data", "examples", "line_list.csv")


def show(path):
    run = subprocess.run([prog, "show", path, "--format", "json"], capture_output=True)
    return run.returncode, run.stdout, run.stderr.decode("utf-8", "replace").strip()


with tempfile.TemporaryDirectory() as work:
    saved = os.path.join(work, "set.mdb")
    subprocess.run([prog, "design", line_list, "--save", saved, "-o", os.path.join(work, "out.json")],
                   check=True, capture_output=True)
    status, reference, _ = show(saved)
    assert status == 0, "the saved file does not open"
    original = open(saved, "rb").read()
    rng = random.Random(seed)
    counts = {"refused": 0, "unchanged": 0, "changed": 0}
    reasons = {}
    changed = []
    damaged = os.path.join(work, "damaged.mdb")
    for trial in range(trials):
        data = bytearray(original)
        at = rng.randrange(len(data))
        if rng.random() < 0.5:
            bit = rng.randrange(8)
            data[at] ^= 1 << bit
            what = f"bit {bit} of byte {at} flipped"
        else:
            value = rng.randrange(256)
            while value == data[at]:
                value = rng.randrange(256)
            data[at] = value
            what = f"byte {at} overwritten with {value}"
        with open(damaged, "wb") as f:
            f.write(data)
        status, output, message = show(damaged)
        if status != 0:
            counts["refused"] += 1
            reason = re.sub(r"^column \S+ missing", "column ... missing",
                            message.split(": ", 2)[-1].split(" (")[0])
            reasons[reason] = reasons.get(reason, 0) + 1
        elif output == reference:
            counts["unchanged"] += 1
        else:
            counts["changed"] += 1
            changed.append(what)
    print(f"{trials} trials on a file of {len(original)} bytes (seed {seed}): refused {counts['refused']}, "
          f"opened unchanged {counts['unchanged']}, opened with a changed value {counts['changed']}")
    for reason, n in sorted(reasons.items(), key=lambda r: -r[1]):
        print(f"  refused {n:5d}: {reason}")
    for what in changed:
        print(f"  changed: {what}")
    sys.exit(1 if counts["changed"] else 0)
