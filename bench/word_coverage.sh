#!/usr/bin/env bash
# Word coverage of the engine over the corpus: for every .docx, the share of
# the words `pandoc -t plain` finds that reach the exported page, and the
# PNG/JPEG/GIF pictures that reach it.
#
#   bench/word_coverage.sh [BUILD_DIR]
#
# QP_EXPORT overrides the exporter (called as: $QP_EXPORT IN.docx OUT.htm);
# by default the engine's own export in Shift-JIS, as a run makes it.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:-$here/../build}"
corpus="${QP_CORPUS_DIR:-$here/../../shared/corpus}"
export_cmd="${QP_EXPORT:-$build/tests/word/word_tool export}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

docs=0 exported=0 failed=0 refused=0 good=0 words=0 found=0 pin=0 pout=0 short=()
for docx in "$corpus"/docx/*.docx "$corpus"/docx/*.docm; do
  [ -e "$docx" ] || continue
  name="$(basename "$docx")"
  stem="${name%.*}"
  docs=$((docs + 1))
  bad=0
  grep -q "^docx/$name	" "$corpus/MANIFEST_bad.tsv" && bad=1
  if ! timeout 120 $export_cmd "$docx" "$work/$stem.htm" >/dev/null 2>"$work/$stem.err"; then
    if [ $bad = 1 ]; then refused=$((refused + 1)); else failed=$((failed + 1)); echo "FAILED $name: $(tail -1 "$work/$stem.err")"; fi
    continue
  fi
  exported=$((exported + 1))
  timeout 120 pandoc -f docx -t plain --wrap=none --lua-filter "$here/word_coverage_filter.lua" \
    "$docx" -o "$work/$stem.txt" 2>/dev/null || : >"$work/$stem.txt"
  read -r w f pi po < <(python3 "$here/word_coverage_measure.py" "$docx" "$work/$stem.htm" "$work/$stem.txt")
  words=$((words + w)) found=$((found + f)) pin=$((pin + pi)) pout=$((pout + po))
  if [ "$w" -eq 0 ] || [ $((f * 1000)) -ge $((w * 980)) ]; then
    good=$((good + 1))
  else
    short+=("$(printf '%5.1f%% %6d words  %s' "$(echo "100*$f/$w" | bc -l)" "$w" "$name")")
  fi
  [ "$po" -lt "$pi" ] && echo "PICTURES $name: $po of $pi"
done

echo
echo "documents below 98% of words:"
printf '  %s\n' "${short[@]}" | sort -n
echo
echo "documents: $docs, exported: $exported, refused as expected (MANIFEST_bad): $refused, failed: $failed"
printf 'documents with >= 98%% of their words: %d of %d (%.1f%%)\n' "$good" "$exported" \
  "$(echo "100*$good/($exported+($exported==0))" | bc -l)"
printf 'words on the page: %d of %d (%.2f%%)\n' "$found" "$words" "$(echo "100*$found/($words+($words==0))" | bc -l)"
echo "PNG/JPEG/GIF pictures on the page: $pout of $pin"
