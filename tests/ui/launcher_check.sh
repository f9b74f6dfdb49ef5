#!/bin/sh
# The launcher as the desktop reads it: several dropped files reach one run,
# and Quillpage is offered for Word documents without becoming the program
# that opens them.
#   tests/ui/launcher_check.sh DESKTOP_FILE
set -eu

desktop=${1:?usage: launcher_check.sh DESKTOP_FILE}
fail() { echo "launcher: $*" >&2; exit 1; }

key() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(key Exec)" = "quillpage %F" ] || fail "Exec is '$(key Exec)', not 'quillpage %F'"
types=$(key MimeType)
for type in application/msword application/vnd.openxmlformats-officedocument.wordprocessingml.document; do
  case ";$types" in *";$type;"*) ;; *) fail "MimeType lacks $type" ;; esac
done

# Beside a word processor that handles the same types, in one data folder as
# a package installs them, the word processor stays the default.
command -v update-desktop-database >/dev/null || { echo "skipped: no update-desktop-database"; exit 0; }
command -v xdg-mime >/dev/null || { echo "skipped: no xdg-mime"; exit 0; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/share/applications" "$scratch/home"
cp "$desktop" "$scratch/share/applications/quillpage.desktop"
cat >"$scratch/share/applications/libreoffice-writer.desktop" <<'ENTRY'
[Desktop Entry]
Type=Application
Name=Writer
Exec=lowriter %U
MimeType=application/msword;application/vnd.openxmlformats-officedocument.wordprocessingml.document;
ENTRY
update-desktop-database "$scratch/share/applications"
for type in application/msword application/vnd.openxmlformats-officedocument.wordprocessingml.document; do
  grep -q "^$type=.*quillpage.desktop" "$scratch/share/applications/mimeinfo.cache" ||
    fail "not offered for $type"
  default=$(env -i PATH="$PATH" HOME="$scratch/home" XDG_DATA_DIRS="$scratch/share" \
    XDG_CONFIG_DIRS="$scratch/etc" xdg-mime query default "$type")
  [ "$default" = libreoffice-writer.desktop ] || fail "default for $type is '$default'"
done
echo "launcher: Exec and MimeType as intended; the word processor stays the default"
