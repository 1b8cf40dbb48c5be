#!/usr/bin/env bash
# Makes the Debian package from a build folder, unpacks it into a scratch root
# with dpkg -x and checks what an installed system gets: desktop entry,
# metainfo, man pages, icons, the launcher, and programs that run from there.
# (lintian takes longer than the rest of the suite; scripts/package.sh runs it.)
#
#   package_test.sh BUILD_DIR VERSION
set -euo pipefail
build_dir=$(realpath "$1")
version=$2

if [ "$(id -u)" -ne 0 ]; then
  echo "skipped: the package test runs the programs in a private network namespace, which needs root"
  exit 77
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$scratch" && cpack -G DEB -B "$scratch/pkg" --config "$build_dir/CPackConfig.cmake" >cpack.log 2>&1) \
  || { cat "$scratch/cpack.log" >&2; fail "cpack"; }
deb=$scratch/pkg/quillscope_${version}_amd64.deb
[ -f "$deb" ] || fail "no $deb: $(ls "$scratch/pkg")"

depends=$(dpkg-deb -f "$deb" Depends)
case "$depends" in
  *libqt6widgets6*libc6* | *libc6*libqt6widgets6*) ;;
  *) fail "Depends not computed from the programs' libraries: $depends" ;;
esac

# The window's Chinese texts need a font that shows them.
case "$(dpkg-deb -f "$deb" Recommends)" in
  *fonts-noto-cjk*) ;;
  *) fail "no CJK font recommended: $(dpkg-deb -f "$deb" Recommends)" ;;
esac

root=$scratch/root
dpkg -x "$deb" "$root"

desktop=$root/usr/share/applications/org.quillscope.Quillscope.desktop
desktop-file-validate "$desktop" || fail "desktop entry"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.quillscope.Quillscope.metainfo.xml" || fail "metainfo"

# Menus and software centres in Chinese show Chinese names and summaries.
metainfo=$root/usr/share/metainfo/org.quillscope.Quillscope.metainfo.xml
for lang in zh_TW zh_CN; do
  for key in Name GenericName Comment; do
    grep -q "^$key\[$lang\]=" "$desktop" || fail "desktop entry without $key[$lang]"
  done
  for element in name summary; do
    grep -q "<$element xml:lang=\"$lang\">" "$metainfo" || fail "metainfo without $element in $lang"
  done
done

launcher=$(sed -n 's/^Exec=//p' "$desktop")
[ -x "$root$launcher" ] || fail "the desktop entry starts $launcher, which the package does not hold"
grep -q '^exec "/usr/bin/quillscope"' "$root$launcher" || fail "the launcher does not start /usr/bin/quillscope"

for size in 16x16 22x22 24x24 32x32 48x48 64x64 128x128 256x256; do
  [ -f "$root/usr/share/icons/hicolor/$size/apps/org.quillscope.Quillscope.png" ] || fail "no $size icon"
done
[ -f "$root/usr/share/icons/hicolor/scalable/apps/org.quillscope.Quillscope.svg" ] || fail "no scalable icon"

# Every program has a man page that renders, and prints the project's version.
for program in "$root"/usr/bin/*; do
  name=$(basename "$program")
  page=$root/usr/share/man/man1/$name.1.gz
  [ -f "$page" ] || fail "no man page for $name"
  MANWIDTH=80 man -l "$page" 2>&1 | grep -q "^NAME" || fail "man page of $name does not render"
  out=$(unshare --net -- "$program" --version) || fail "$name --version"
  [ "$out" = "$name $version" ] || fail "$name --version printed '$out'"
done

# The command line lists the adapters of an empty network namespace.
if [ -x "$root/usr/bin/quillscope-cli" ]; then
  unshare --net -- "$root/usr/bin/quillscope-cli" adapters >"$scratch/adapters.txt" || fail "quillscope-cli adapters"
fi
echo "package $deb: all checks passed"
