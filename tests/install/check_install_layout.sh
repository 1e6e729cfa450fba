#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what lands where: programs in
# bin, read-only data in share/mvxbrxspecial, desktop files, icons, man pages, and no
# working folder or file of a run.
set -euo pipefail
build=$1
prefix=$2
rm -rf "$prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
fail() { echo "FAIL: $*"; exit 1; }
for p in mvxbrxspecial vantrelspirit mvxbrx-dict mvxbrx-makebook mvxbrx-mksndlib; do
  [ -x "$prefix/bin/$p" ] || fail "program $p not in bin"
done
for p in "$build"/home/mvxbrx-*; do
  [ -x "$prefix/bin/$(basename "$p")" ] || fail "command $(basename "$p") not in bin"
  [ -f "$prefix/share/man/man1/$(basename "$p").1.gz" ] || fail "no manual page for $(basename "$p")"
done
data="$prefix/share/mvxbrxspecial"
for f in BrxSpecialIdx.txt blank.wav mvxdictec.idx mvxdictec.lib ecminterface help/index.htm \
         alltmpfile/htm111.htm alltmpfile/cursentence.htm brxspecial quiz; do
  [ -e "$data/$f" ] || fail "shipped data $f missing"
done
# The tray launcher's menu pictures and icon, found beside the skins (share/mvxbrxspecial).
for f in spiritinterface/btExit.png spiritinterface/btAutoStart-S-a@2x.png spiritinterface/mvx16.png; do
  [ -s "$data/$f" ] || fail "launcher picture $f missing"
done
ls "$data"/brxspecial/*.dat >/dev/null 2>&1 || fail "no bundled book"
for w in notebook tmpwav segment soundsample ecm temp listen script; do
  [ ! -e "$data/$w" ] || fail "working folder $w was installed"
done
if find "$data" \( -name 'tmp*' -o -name 'rndsnd*' -o -name '*.partial' \) | grep -q .; then
  fail "working files were installed: $(find "$data" -name 'tmp*' -o -name 'rndsnd*' | head -3)"
fi
for p in mvxbrxspecial vantrelspirit mvxbrx-dict; do
  [ ! -e "$data/$p" ] || fail "program $p installed among the data"
done
for s in 16 24 32 48 64 128 256; do
  icon="$prefix/share/icons/hicolor/${s}x${s}/apps/mvxbrxspecial.png"
  [ -s "$icon" ] || fail "icon $s missing"
  file "$icon" | grep -q "$s x $s" || fail "icon $s has the wrong size: $(file "$icon")"
done
[ -s "$prefix/share/icons/hicolor/scalable/apps/mvxbrxspecial.svg" ] || fail "scalable icon missing"
[ -f "$prefix/share/applications/net.morvexsoft.Lentoria.desktop" ] || fail "desktop entry missing"
[ -f "$prefix/share/metainfo/net.morvexsoft.Lentoria.metainfo.xml" ] || fail "metainfo missing"
for p in mvxbrxspecial vantrelspirit; do
  [ -f "$prefix/share/man/man1/$p.1.gz" ] || fail "manual page $p missing"
done
# The installed dictionary tool finds the shipped dictionary from its own place.
out=$(cd / && "$prefix/bin/mvxbrx-dict" water) || fail "installed mvxbrx-dict did not find its dictionary"
echo "$out" | grep -q "水" || fail "unexpected look-up: $out"
echo "install layout ok: $(du -sh "$prefix" | cut -f1)"
