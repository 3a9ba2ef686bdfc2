#!/usr/bin/env bash
# Installs the build into a fresh prefix and uses it as a user would: the files in their
# places, the desktop entry, metainfo and manual pages accepted by their checkers, the
# launcher making the user's data folder on first start without ever replacing the user's
# files, and the installed command line working.
# Usage: tst_install.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

cmake --install "$build" --prefix "$prefix" >/dev/null

expected=(
  bin/sonarith
  bin/sonarith-cli
  libexec/sonarith/sonarith
  share/sonarith/Tones.abs
  share/sonarith/Velnora.chm
  "share/sonarith/ToneData/Solfeggio.tns"
  "share/sonarith/ToneData/Tempered Scale.tns"
  share/applications/org.sonarith.Sonarith.desktop
  share/metainfo/org.sonarith.Sonarith.metainfo.xml
  share/icons/hicolor/scalable/apps/org.sonarith.Sonarith.svg
  share/man/man1/sonarith.1.gz
  share/man/man1/sonarith-cli.1.gz
)
for file in "${expected[@]}"; do
  [ -f "$prefix/$file" ] || fail "not installed: $file"
done
extra=$(cd "$prefix" && find . -type f | sed 's|^\./||' | sort |
  grep -vxF -f <(printf '%s\n' "${expected[@]}") || true)
[ -z "$extra" ] || fail "installed beyond the list: $extra"
[ -x "$prefix/bin/sonarith" ] && [ -x "$prefix/bin/sonarith-cli" ] || fail "commands not executable"
echo "PASS: every file in its place"

desktop-file-validate "$prefix/share/applications/org.sonarith.Sonarith.desktop" ||
  fail "desktop entry refused"
grep -qx 'Exec=sonarith' "$prefix/share/applications/org.sonarith.Sonarith.desktop" ||
  fail "the desktop entry does not start the launcher"
appstreamcli validate --strict --no-net "$prefix/share/metainfo/org.sonarith.Sonarith.metainfo.xml" \
  >"$work/appstream.log" 2>&1 || fail "metainfo refused: $(cat "$work/appstream.log")"
head -c 200 "$prefix/share/icons/hicolor/scalable/apps/org.sonarith.Sonarith.svg" |
  grep -q '<svg' || fail "the icon is not SVG"
for page in sonarith sonarith-cli; do
  warnings=$(zcat "$prefix/share/man/man1/$page.1.gz" | groff -man -Tutf8 -ww -z 2>&1)
  [ -z "$warnings" ] || fail "manual page $page: $warnings"
  zcat "$prefix/share/man/man1/$page.1.gz" | grep -q '^\.TH .* 1 ' ||
    fail "manual page $page has no title line"
done
echo "PASS: desktop entry, metainfo, icon and manual pages"

# First start: the user's data folder is made from the installed data; the screenshots
# folder given relative to where the user is.
export QT_QPA_PLATFORM=offscreen HOME=$work/home
unset XDG_DATA_HOME
mkdir -p "$HOME" "$work/here"
data=$HOME/.local/share/sonarith
(cd "$work/here" && "$prefix/bin/sonarith" --screenshots shots) || fail "the launcher failed"
for file in Tones.abs Velnora.chm "ToneData/Solfeggio.tns" "ToneData/Tempered Scale.tns"; do
  cmp -s "$prefix/share/sonarith/$file" "$data/$file" || fail "first start did not provide $file"
done
ls "$work/here/shots"/*.png >/dev/null 2>&1 || fail "no screenshots where the user asked"
echo "PASS: the first start makes the user's data folder"

# What the user changed stays: a record added, a sample edited, the help file removed.
(cd "$data" && "$prefix/bin/sonarith-cli" catalogue add --db Tones.abs --cps 123 \
  --category Mine --subcategory Test --source Me >/dev/null) || fail "catalogue add failed"
printf 'mine\n' >"$data/ToneData/Solfeggio.tns"
rm "$data/Velnora.chm"
cp "$data/Tones.abs" "$work/catalogue.before"
"$prefix/bin/sonarith" --screenshots "$work/again" || fail "the second start failed"
cmp -s "$work/catalogue.before" "$data/Tones.abs" || fail "the user's catalogue was replaced"
[ "$(cat "$data/ToneData/Solfeggio.tns")" = mine ] || fail "the user's sample was replaced"
[ -f "$data/Velnora.chm" ] || fail "a missing file was not provided again"
records=$(cd "$data" && "$prefix/bin/sonarith-cli" catalogue list)
grep -q 'Mine' <<<"$records" || fail "the user's record is gone"
echo "PASS: later starts keep what the user has"

# XDG_DATA_HOME decides where the folder is.
XDG_DATA_HOME=$work/xdg "$prefix/bin/sonarith" --screenshots "$work/xdg-shots" ||
  fail "the start with XDG_DATA_HOME failed"
[ -f "$work/xdg/sonarith/Tones.abs" ] || fail "XDG_DATA_HOME was not followed"
echo "PASS: XDG_DATA_HOME is followed"

# The installed command line works in the folder it is started in.
[ "$("$prefix/bin/sonarith-cli" digits MARY)" = 4197 ] || fail "sonarith-cli digits MARY"
(cd "$work/here" && "$prefix/bin/sonarith-cli" render MARY -o mary.wav) || fail "render failed"
[ "$(stat -c %s "$work/here/mary.wav")" -gt 44 ] || fail "render wrote no sound"
echo "PASS: the installed sonarith-cli"
