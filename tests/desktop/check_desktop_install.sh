#!/usr/bin/env bash
# Installs the desktop files of the build in $1 into a temporary prefix and
# checks them: the menu entry names the scene type and the icon, the icon is
# there, and the scene type is one shared-mime-info reads, recognised by
# name and by content.
set -euo pipefail
build="$1"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" --component desktop >/dev/null
entry="$prefix/share/applications/morvanex.desktop"
icon="$prefix/share/icons/hicolor/scalable/apps/morvanex.svg"
mime="$prefix/share/mime/packages/morvanex.xml"
for f in "$entry" "$icon" "$mime"; do [ -s "$f" ] || fail "not installed: ${f#"$prefix"/}"; done

grep -qx 'Exec=morvanex %f' "$entry" || fail "the entry does not open a file"
grep -qx 'Icon=morvanex' "$entry" || fail "the entry names another icon"
grep -qx 'MimeType=application/x-morvanex-scene;' "$entry" || fail "the entry does not claim scene files"
grep -q 'type="application/x-morvanex-scene"' "$mime" || fail "the scene type is not declared"
grep -q '<svg' "$icon" || fail "the icon is not an SVG drawing"

if command -v desktop-file-validate >/dev/null 2>&1; then
  desktop-file-validate "$entry" || fail "desktop-file-validate refuses the entry"
fi
if command -v xmllint >/dev/null 2>&1; then
  xmllint --noout "$mime" "$icon" || fail "not well-formed XML"
fi
if command -v update-mime-database >/dev/null 2>&1; then
  # The database built from the package knows the extension and the tag.
  update-mime-database "$prefix/share/mime" >/dev/null 2>&1 || fail "update-mime-database refuses the type"
  grep -q 'application/x-morvanex-scene:\*\.mrx' "$prefix/share/mime/globs2" || fail "*.mrx is not mapped to the type"
  grep -q 'application/x-morvanex-scene' "$prefix/share/mime/magic" || fail "the file tag is not recognised"
fi
echo "desktop files installed and valid"
