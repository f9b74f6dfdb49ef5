#!/bin/sh
# The captions the window system shows, on a virtual X display: the settings
# window and a message box carry the design's caption and nothing appended.
#   tests/ui/captions_check.sh PREVIEW_PROGRAM
set -eu

preview=${1:?usage: captions_check.sh PREVIEW_PROGRAM}
for tool in xvfb-run xprop xwininfo; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool missing"; exit 0; }
done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# 最新情報 with an xdg-open that finds no browser: a message box opens over
# the settings window.
mkdir "$scratch/bin" "$scratch/settings"
printf '#!/bin/sh\nexit 3\n' >"$scratch/bin/xdg-open"
chmod +x "$scratch/bin/xdg-open"

PATH="$scratch/bin:$PATH" xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
  "$1" help "$2/settings" 2>/dev/null & pid=$!
  sleep 3
  for id in $(xwininfo -root -children | sed -n "s/^ *\(0x[0-9a-f]*\) .*/\1/p"); do
    xprop -id "$id" _NET_WM_NAME 2>/dev/null | sed -n "s/^_NET_WM_NAME(UTF8_STRING) = //p"
  done >"$2/titles"
  kill "$pid"
  wait "$pid" 2>/dev/null || true
' captions "$preview" "$scratch"

cat "$scratch/titles"
count=$(grep -c "Quillpage」" "$scratch/titles" || true)
[ "$count" -eq 2 ] || { echo "captions: expected the window and a message box, found $count" >&2; exit 1; }
if grep "Quillpage」" "$scratch/titles" | grep -qv '^"「Quillpage」 for Word"$'; then
  echo "captions: something was added to the caption" >&2
  exit 1
fi
echo "captions: exactly as designed"
