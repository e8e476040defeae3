#!/usr/bin/env bash
# Builds the Debian package from a build folder (cpack -G DEB, into a
# temporary folder) and checks it: the program folder in /opt/velmar32, the
# desktop files under /usr/share with the entry's Exec on the installed
# executable, the dependencies on the Qt runtime and libsword (the
# command-line tool without it), and lintian (when
# installed) without errors.
#
#   tests/e2e/package.sh BUILD_DIR
#
# Exit status: 0 passed, 1 failed, 77 skipped (no dpkg-deb or dpkg-shlibdeps).
set -u

export LC_ALL=C.UTF-8

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

build=${1:?usage: package.sh BUILD_DIR}
build=$(cd "$build" && pwd) || fail "no build folder $1"
for tool in cpack dpkg-deb dpkg-shlibdeps; do
  if ! command -v "$tool" > /dev/null; then
    echo "SKIP: $tool is not installed"
    exit 77
  fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/velmar32-deb.XXXXXX") || fail "no temporary folder"
trap 'rm -rf "$work"' EXIT

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" > "$work/cpack.log" 2>&1 \
  || { cat "$work/cpack.log"; fail "cpack failed"; }
debs=("$work"/velmar32_*.deb)
[ -f "${debs[0]}" ] || { cat "$work/cpack.log"; fail "no package built"; }
deb=${debs[0]}
echo "built $(basename "$deb")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = velmar32 ] || fail "Package: $(field Package)"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ -n "$(field Section)" ] || fail "no Section"
depends=$(field Depends)
for package in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 qt6-qpa-plugins qt6-translations-l10n \
               libsword1.9.0; do
  echo "$depends" | grep -Eq "(^|, )$package( |,|$)" || fail "Depends lacks $package: $depends"
done
echo "$(field Suggests)" | grep -q "sword-text-kjv" || fail "Suggests lacks sword-text-kjv: $(field Suggests)"

# The desktop program reads the Bible through libsword; the command-line
# tool goes without it.
dpkg-deb -x "$deb" "$work/root" || fail "cannot unpack the package"
needed() { readelf -d "$work/root/opt/velmar32/$1" | grep NEEDED; }
needed Velmar32 | grep -q 'libsword' || fail "Velmar32 does not link libsword"
if needed velmar32-cli | grep -q 'libsword'; then fail "velmar32-cli links libsword"; fi

dpkg-deb -c "$deb" | awk '{print $6}' > "$work/contents"
for path in \
  ./opt/velmar32/Velmar32 ./opt/velmar32/velmar32-cli ./opt/velmar32/libLumora.so.2 \
  ./opt/velmar32/Velmar32.ini ./opt/velmar32/dbase/January.db ./opt/velmar32/docs/ \
  ./usr/share/applications/org.example.velmar32.desktop \
  ./usr/share/icons/hicolor/16x16/apps/velmar32.png \
  ./usr/share/icons/hicolor/256x256/apps/velmar32.png \
  ./usr/share/icons/hicolor/scalable/apps/velmar32.svg \
  ./usr/share/metainfo/org.example.velmar32.metainfo.xml \
  ./usr/share/doc/velmar32/copyright ./usr/share/doc/velmar32/changelog.gz; do
  grep -qxF "$path" "$work/contents" || fail "the package lacks $path"
done
if grep -v '^\./\(opt/\(velmar32/.*\)\?\|usr/\(share/.*\)\?\)\?$' "$work/contents"; then
  fail "files outside /opt/velmar32 and /usr/share"
fi

entry=$(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/applications/org.example.velmar32.desktop)
echo "$entry" | grep -qx 'Exec=/opt/velmar32/Velmar32' || fail "the entry's Exec is not /opt/velmar32/Velmar32"

if command -v lintian > /dev/null; then
  lintian --display-info "$deb" > "$work/lintian.log" 2>&1
  grep -v '^running with root privileges' "$work/lintian.log"
  if grep -q '^E: ' "$work/lintian.log"; then
    fail "lintian reports errors"
  fi
  echo "lintian: $(grep -c '^E: ' "$work/lintian.log") errors, $(grep -c '^W: ' "$work/lintian.log") warnings"
else
  echo "lintian is not installed; not run"
fi
echo "PASS"
