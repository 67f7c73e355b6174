#!/usr/bin/env bash
# The layer check refuses an include that points up the layers, a Qt header
# below the Qt layers and a folder that is not a layer, and passes a tree that
# keeps the rule. Usage: check_layers_test.sh <CheckLayers.cmake>
set -u
check="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0

# expect <name> <pass|fail> <file> <line>: a tree with one core header and the
# given line in the given file.
expect() {
  local name="$1" want="$2" file="$3" line="$4"
  rm -rf "$work/src" && mkdir -p "$work/src/core" "$work/src/$(dirname "$file")"
  echo '#pragma once' >"$work/src/core/a.h"
  printf '%s\n' "$line" >"$work/src/$file"
  if cmake -DSRC_DIR="$work/src" -P "$check" >"$work/out" 2>&1; then got=pass; else got=fail; fi
  if [ "$got" != "$want" ]; then
    echo "FAIL $name: expected $want, got $got"; cat "$work/out"; failures=$((failures + 1))
  else
    echo "ok   $name"
  fi
}

expect "engine may include core" pass engine/x.cpp '#include "core/a.h"'
expect "ui may include workspace" pass ui/x.cpp '#include "workspace/stmain_model.h"'
expect "engine including workspace fails" fail engine/x.cpp '#include "workspace/stmain_model.h"'
expect "core including bom fails" fail core/x.h '#include "bom/takeoff.h"'
expect "designfile including prefs fails" fail designfile/x.cpp '#include "prefs/preferences.h"'
expect "Qt header in bom fails" fail bom/x.cpp '#include <QString>'
expect "Qt module header in workspace fails" fail workspace/x.cpp '#include <QtCore/QObject>'
expect "Qt header in ui passes" pass ui/x.cpp '#include <QWidget>'
expect "a folder that is not a layer fails" fail extra/x.cpp '#include "core/a.h"'

echo "$((9 - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
