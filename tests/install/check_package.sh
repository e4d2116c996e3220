#!/usr/bin/env bash
# Makes the Debian package of an already built tree into a temporary folder (`cpack -G DEB`, as
# scripts/package does) and inspects it as Debian would: its control fields, the files it
# installs, the machine-readable copyright file, and lintian finding no error in it.
# Usage: check_package.sh <built tree>
set -uo pipefail
tree=$(realpath "$1")
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
source "$source_dir/tests/gui/common.sh"

(cd "$work" && cpack --config "$tree/CPackConfig.cmake" -G DEB -B "$work/out") \
  >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; echo "FAIL cpack -G DEB"; exit 1; }
deb=$(compgen -G "$work/out/slatewick_*.deb" | head -n 1)
[ -n "$deb" ] || { cat "$work/cpack.log"; echo "FAIL no slatewick_*.deb"; exit 1; }
echo "package: $(basename "$deb")"

field() { dpkg-deb --field "$deb" "$1"; }
control_fields() {
  [ "$(field Package)" = slatewick ] && [ "$(field Architecture)" = "$(dpkg --print-architecture)" ] &&
    [ "$(field Section)" = education ] && [ -n "$(field Maintainer)" ] &&
    field Depends | grep -q 'libc6' && field Depends | grep -q 'libqt6widgets6' &&
    field Depends | grep -q 'libsdl2' && field Depends | grep -q 'libavcodec' &&
    field Depends | grep -q 'libavformat' &&
    field Recommends | grep -q 'fonts-liberation' && field Recommends | grep -q 'qt6-wayland'
}
check "control fields: name, architecture, section, maintainer, dependencies" control_fields

dpkg-deb --contents "$deb" | awk '{print $NF}' | sed 's|^\./|/|' >"$work/contents"
listed() { grep -qxF "$1" "$work/contents"; }
data_files() {
  local asset
  for asset in "$source_dir"/assets/*; do
    listed "/usr/share/slatewick/$(basename "$asset")" || return 1
  done
}
desktop_files() {
  listed /usr/share/applications/org.slatewick.Slatewick.desktop &&
    listed /usr/share/metainfo/org.slatewick.Slatewick.metainfo.xml
}
check "the program in /usr/bin" listed /usr/bin/slatewick
check "every data file in /usr/share/slatewick" data_files
check "the desktop entry and the metadata" desktop_files

dpkg-deb --extract "$deb" "$work/root"
copyright=$work/root/usr/share/doc/slatewick/copyright
machine_readable() {
  head -n 1 "$copyright" |
    grep -qxF 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' &&
    grep -qxF 'Copyright: 2026 Slatewick developers' "$copyright" &&
    grep -qxF 'License: Expat' "$copyright" &&
    grep -qF 'Permission is hereby granted, free of charge' "$copyright"
}
check "a machine-readable copyright file with the MIT licence" machine_readable
stripped_binary() { file "$work/root/usr/bin/slatewick" | grep -q 'ELF.*, stripped'; }
check "the program is a stripped executable" stripped_binary

lintian_clean() {
  lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1
  local status=$?
  cat "$work/lintian.log"
  [ $status -eq 0 ] && ! grep -q '^E:' "$work/lintian.log"
}
check "lintian finds no error" lintian_clean

summary
