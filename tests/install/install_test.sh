#!/usr/bin/env bash
# Installs the build into a temporary prefix and uses it as a user would: the files are where a
# desktop and man look for them, the installed tarnctl finds its library through
# ../share/tarnconfig, and the desktop entry and metadata validate. Exit 77 (skipped) when the
# validators are missing, after everything else has passed.
# Usage: install_test.sh CMAKE BUILD_DIR VERSION EXPECT_TARNCONFIG(0|1)
set -euo pipefail

cmake=$1 build=$2 version=$3 expect_tarnconfig=$4
app_id=org.tarnconfig.TarnConfig

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

"$cmake" --install "$build" --prefix "$prefix" >/dev/null

expected=(
  bin/tarnctl
  share/tarnconfig/TarnDevices.def
  share/applications/$app_id.desktop
  share/metainfo/$app_id.metainfo.xml
  share/icons/hicolor/scalable/apps/$app_id.svg
  share/icons/hicolor/48x48/apps/$app_id.png
  share/icons/hicolor/128x128/apps/$app_id.png
  share/icons/hicolor/256x256/apps/$app_id.png
  share/man/man1/tarnctl.1.gz
  share/doc/tarnconfig/copyright
)
if [ "$expect_tarnconfig" = 1 ]; then expected+=(bin/tarnconfig); fi
for file in "${expected[@]}"; do
  [ -s "$prefix/$file" ] || fail "$file was not installed"
done
[ -x "$prefix/bin/tarnctl" ] || fail "bin/tarnctl is not executable"

# A PNG says its size in its header: width and height, big-endian, at bytes 16..23.
for size in 48 128 256; do
  read -r -a bytes < <(od -An -tu1 -j16 -N8 "$prefix/share/icons/hicolor/${size}x${size}/apps/$app_id.png")
  width=$(((bytes[2] << 8) + bytes[3] + (bytes[0] << 24) + (bytes[1] << 16)))
  height=$(((bytes[6] << 8) + bytes[7] + (bytes[4] << 24) + (bytes[5] << 16)))
  [ "$width $height" = "$size $size" ] || fail "the ${size}x${size} icon is ${width}x${height}"
done

# Run from elsewhere: nothing may depend on the working folder or on the build tree.
cd /
[ "$("$prefix/bin/tarnctl" --version)" = "tarnctl $version" ] || fail "tarnctl --version"
if [ "$expect_tarnconfig" = 1 ]; then
  QT_QPA_PLATFORM=offscreen timeout 20 "$prefix/bin/tarnconfig" --version | grep -qF "$version" ||
    fail "tarnconfig --version does not print $version"
fi
named=$("$prefix/bin/tarnctl" devices "$prefix/share/tarnconfig/TarnDevices.def")
found=$("$prefix/bin/tarnctl" devices) || fail "the installed tarnctl did not find its standard library"
[ "$found" = "$named" ] || fail "tarnctl devices listed another library than share/tarnconfig's"
[ "$(printf '%s\n' "$found" | wc -l)" -gt 5 ] || fail "the standard library lists too few devices"

# One application id for the desktop entry, the metadata and the icon; the metadata's latest
# release is this version.
desktop=$prefix/share/applications/$app_id.desktop
metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
grep -qx "Icon=$app_id" "$desktop" || fail "the desktop entry's icon is not $app_id"
grep -qx "Exec=tarnconfig" "$desktop" || fail "the desktop entry does not start tarnconfig"
grep -qF "<id>$app_id</id>" "$metainfo" || fail "the metadata's id is not $app_id"
grep -qF "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
  fail "the metadata does not launch $app_id.desktop"
first_release=$(grep -o '<release version="[^"]*"' "$metainfo" | head -n 1)
[ "$first_release" = "<release version=\"$version\"" ] ||
  fail "the metadata's latest release is not $version: $first_release"

if command -v groff >/dev/null; then
  warnings=$(gzip -dc "$prefix/share/man/man1/tarnctl.1.gz" | groff -man -ww -z 2>&1)
  [ -z "$warnings" ] || fail "the manual page does not render cleanly: $warnings"
fi

missing=()
for tool in desktop-file-validate appstreamcli; do
  command -v "$tool" >/dev/null || missing+=("$tool")
done
if ((${#missing[@]})); then
  echo "SKIP: the installation is sound; ${missing[*]} missing to validate its metadata (scripts/bootstrap installs them)"
  exit 77
fi
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net --explain "$metainfo" || fail "appstreamcli validate"
# The tree as a software centre reads it: the metadata, its desktop entry and its icons together.
appstreamcli validate-tree --no-net "$prefix" || fail "appstreamcli validate-tree"
echo "Installed into $prefix and validated."
