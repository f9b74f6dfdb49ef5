#!/bin/sh
# Builds the Debian package from BUILD_DIR and checks it as a user's machine
# would take it: the files it holds (no more, no less), its dependencies,
# lintian, the manual pages and the AppStream metadata.
#   tests/package/check_package.sh BUILD_DIR
set -eu

build=${1:?usage: check_package.sh BUILD_DIR}
build=$(cd "$build" && pwd)
fail() { echo "package: $*" >&2; exit 1; }
for tool in cpack dpkg-deb dpkg-shlibdeps; do
  command -v "$tool" >/dev/null || fail "$tool missing"
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
(cd "$scratch" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1) ||
  { cat "$scratch/cpack.log" >&2; fail "cpack failed"; }
set -- "$scratch"/out/quillpage_*.deb
[ $# -eq 1 ] && [ -f "$1" ] || fail "no quillpage_*.deb made"
deb=$1
echo "made $(basename "$deb")"

# Exactly these files; folders aside.
dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sed 's|^\./|/|' | sort >"$scratch/files"
sort >"$scratch/expected" <<'LIST'
/usr/bin/quillpage
/usr/bin/quillpage-revise
/usr/libexec/quillpage/quillpage-desktop
/usr/libexec/quillpage/quillpage-draw
/usr/share/applications/quillpage.desktop
/usr/share/doc/quillpage/changelog.gz
/usr/share/doc/quillpage/copyright
/usr/share/icons/hicolor/256x256/apps/quillpage.png
/usr/share/icons/hicolor/32x32/apps/quillpage.png
/usr/share/icons/hicolor/scalable/apps/quillpage.svg
/usr/share/man/man1/quillpage-revise.1.gz
/usr/share/man/man1/quillpage.1.gz
/usr/share/metainfo/io.github.quillpage.quillpage.metainfo.xml
/usr/share/quillpage/help/help.css
/usr/share/quillpage/help/index.en.html
/usr/share/quillpage/help/index.html
LIST
diff -u "$scratch/expected" "$scratch/files" || fail "files differ from the list above"

# The libraries the programs link (the drawing helper's among them), and
# the word processor for .doc.
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libc6 libstdc++6 libqt6widgets6 libpugixml1v5 libminizip1 libpng16-16 \
  librsvg2-2 libcairo2 libemf2svg1 libwmf-0.2-7 libseccomp2; do
  case ", $depends," in *", $lib "* | *", $lib,"*) ;; *) fail "Depends lacks $lib: $depends" ;; esac
done
# The windows need a Japanese font; either word processor converts .doc.
case "$depends" in
  *"fonts-ipafont-gothic | fonts-noto-cjk"*) ;;
  *) fail "Depends lacks a Japanese font: $depends" ;;
esac
case "$(dpkg-deb -f "$deb" Recommends)" in
  *"libreoffice-writer-nogui | libreoffice-writer"*) ;;
  *) fail "the word processor is not recommended" ;;
esac
# Triggers refresh the caches; no script of the package's own does.
dpkg-deb --ctrl-tarfile "$deb" | tar -t | grep -Eq 'postinst|postrm|preinst|prerm' &&
  fail "maintainer scripts in the package"

dpkg-deb -x "$deb" "$scratch/root"
for page in quillpage quillpage-revise; do
  man_page="$scratch/root/usr/share/man/man1/$page.1.gz"
  if command -v man >/dev/null; then
    LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$man_page" >"$scratch/man.txt" 2>"$scratch/man.err" ||
      { cat "$scratch/man.err" >&2; fail "man cannot render $page.1"; }
    [ ! -s "$scratch/man.err" ] || { cat "$scratch/man.err" >&2; fail "man warns about $page.1"; }
    grep -q "^NAME" "$scratch/man.txt" || fail "$page.1 renders without a NAME section"
  fi
done
grep -q "^License: GPL-2+" "$scratch/root/usr/share/doc/quillpage/copyright" ||
  fail "the copyright file names no licence"
# Built with Debian's hardening flags (when the build had dpkg-buildflags):
# PIE, stack protector, fortified functions, RELRO and immediate binding.
# Debian 12's dpkg-buildflags has no control flow protection yet, so that
# is not asked for.
if command -v hardening-check >/dev/null; then
  for program in usr/bin/quillpage usr/bin/quillpage-revise usr/libexec/quillpage/quillpage-desktop; do
    hardening-check --nocfprotection "$scratch/root/$program" >"$scratch/hardening.txt" ||
      { cat "$scratch/hardening.txt" >&2; fail "$program is not hardened"; }
  done
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --pedantic --no-net "$scratch/root/usr/share/metainfo/io.github.quillpage.quillpage.metainfo.xml" ||
    fail "AppStream metadata does not validate"
fi
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$scratch/root/usr/share/applications/quillpage.desktop" ||
    fail "launcher does not validate"
fi
if command -v lintian >/dev/null; then
  lintian --fail-on error,warning --tag-display-limit 0 "$deb" || fail "lintian reports errors or warnings"
fi
echo "package: contents, dependencies, manual pages and metadata as intended"
