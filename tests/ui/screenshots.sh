#!/bin/sh
# Shows each window on a virtual X display and saves a picture of the screen:
#   tests/ui/screenshots.sh BUILD_DIR
# Pictures go to BUILD_DIR/screenshots/. Needs xvfb-run (xvfb) and import
# (imagemagick). The settings the windows load and save stay in a temporary
# folder.
set -eu

build=${1:?usage: screenshots.sh BUILD_DIR}
build=$(cd "$build" && pwd)
preview="$build/tests/ui/qp_window_preview"
out="$build/screenshots"
[ -x "$preview" ] || { echo "build qp_window_preview first" >&2; exit 1; }
command -v xvfb-run >/dev/null || { echo "xvfb-run missing (package xvfb)" >&2; exit 1; }
[ -x /usr/bin/import ] || { echo "import missing (package imagemagick)" >&2; exit 1; }

mkdir -p "$out"
settings=$(mktemp -d)
trap 'rm -rf "$settings"' EXIT

shoot() {
  window=$1
  name=${2:-$1}
  scale=${3:-1}
  # One display per window; the window gets two seconds to come up.
  xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
    QT_SCALE_FACTOR=$5 "$1" "$2" "$3" & pid=$!
    sleep 2
    /usr/bin/import -window root "$4"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
  ' shoot "$preview" "$window" "$settings" "$out/$name.png" "$scale"
  echo "$out/$name.png"
}

for window in settings settings-greyed guide report; do
  shoot "$window"
done
# A 120 dpi screen: Qt scales the whole layout by the device pixel ratio 1.25.
for window in settings guide; do
  shoot "$window" "$window-120dpi" 1.25
done
