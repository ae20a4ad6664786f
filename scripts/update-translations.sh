#!/usr/bin/env bash
# Brings the translations up to date with the program's texts: every text marked for
# translation in the program's layers, and nothing else, in translations/orvana_en.ts (or the
# .ts file given). Translate what lupdate then counts as unfinished with Qt Linguist.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
lupdate=${LUPDATE:-/usr/lib/qt6/bin/lupdate}
ts=$(realpath -m "${1:-$root/translations/orvana_en.ts}")
cd "$root"
"$lupdate" -silent -locations none -no-obsolete -extensions cpp,h \
  app core browse acquire files adjust print pmxacq twaindsm -ts "$ts"
