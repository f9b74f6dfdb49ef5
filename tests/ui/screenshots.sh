#!/bin/sh
# Shows each window and a few messages on a virtual X display and saves a
# picture of the screen, in the language LANG names:
#   tests/ui/screenshots.sh BUILD_DIR
#   LANG=en_US.UTF-8 tests/ui/screenshots.sh BUILD_DIR
# Pictures go to BUILD_DIR/screenshots/ (their names end in -ja for a
# Japanese LANG, -en otherwise). Needs xvfb-run (xvfb) and import
# (imagemagick). The settings the windows load and save stay in a temporary
# folder.
set -eu

build=${1:?usage: screenshots.sh BUILD_DIR}
build=$(cd "$build" && pwd)
preview="$build/tests/ui/qp_window_preview"
program="$build/libexec/quillpage/quillpage-desktop"
out="$build/screenshots"
[ -x "$preview" ] || { echo "build qp_window_preview first" >&2; exit 1; }
command -v xvfb-run >/dev/null || { echo "xvfb-run missing (package xvfb)" >&2; exit 1; }
[ -x /usr/bin/import ] || { echo "import missing (package imagemagick)" >&2; exit 1; }
case "${LANG:-}" in ja*) lang=ja ;; *) lang=en ;; esac

mkdir -p "$out"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/settings" "$scratch/home"
printf 'plain text\n' >"$scratch/notes.docx"

# shoot NAME SCALE COMMAND...: runs COMMAND on its own display and takes the
# screen two seconds later.
shoot() {
  name=$1
  scale=$2
  shift 2
  xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
    picture=$1 scale=$2
    shift 2
    QT_SCALE_FACTOR=$scale "$@" 2>/dev/null & pid=$!
    sleep 2
    /usr/bin/import -window root "$picture"
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null || true
  ' shoot "$out/$name-$lang.png" "$scale" "$@"
  echo "$out/$name-$lang.png"
}

for window in settings settings-greyed guide report; do
  shoot "$window" 1 "$preview" "$window" "$scratch/settings"
done
# A 120 dpi screen: Qt scales the whole layout by the device pixel ratio 1.25.
for window in settings guide; do
  shoot "$window-120dpi" 1.25 "$preview" "$window" "$scratch/settings"
done
# Messages as the program shows them: two refusals, and an everyday problem.
if [ -x "$program" ]; then
  shoot message-several-files 1 env HOME="$scratch/home" "$program" /tmp/a.docx /tmp/b.docx
  shoot message-not-word-name 1 env HOME="$scratch/home" "$program" /tmp/a.txt
  shoot message-not-word-content 1 env HOME="$scratch/home" "$program" "$scratch/notes.docx"
fi
