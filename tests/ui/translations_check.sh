#!/bin/sh
# The windows' catalogue is complete: every text the sources pass to
# translate has a finished English entry. lupdate reads the sources into a
# copy of the catalogue; lrelease then counts what is not translated.
#   tests/ui/translations_check.sh SOURCE_DIR LUPDATE LRELEASE
set -eu

source=${1:?usage: translations_check.sh SOURCE_DIR LUPDATE LRELEASE}
lupdate=${2:?}
lrelease=${3:?}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp "$source/ui/translations/quillpage_en.ts" "$scratch/en.ts"
(cd "$source" && "$lupdate" -silent ui -ts "$scratch/en.ts" -no-obsolete -locations none)
"$lrelease" "$scratch/en.ts" -qm "$scratch/en.qm" >"$scratch/report" 2>&1
cat "$scratch/report"
grep -q "(\([0-9]*\) finished and 0 unfinished)" "$scratch/report" ||
  { echo "translations: unfinished entries in ui/translations/quillpage_en.ts" >&2; exit 1; }
if grep -q "Ignored" "$scratch/report"; then
  echo "translations: texts without an entry; run lupdate and translate them" >&2
  exit 1
fi
# The committed catalogue holds what lupdate found, no more, no less.
sources() { grep -c "<source>" "$1"; }
[ "$(sources "$scratch/en.ts")" -eq "$(sources "$source/ui/translations/quillpage_en.ts")" ] ||
  { echo "translations: the catalogue is behind the sources; run lupdate" >&2; exit 1; }
echo "translations: every window text has its English entry"
