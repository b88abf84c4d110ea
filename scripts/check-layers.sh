#!/usr/bin/env bash
# Keeps the layering of the sources: a folder includes only itself and the
# folders below it, and only the platform layer and the renderer include SDL
# or GL headers. Tests are left out: they may join layers to test them together. Prints every offending include line and exits 1 when there
# is one. ROOT defaults to the project; the tests point it at a fixture.
#
#   scripts/check-layers.sh [ROOT]
set -euo pipefail
root="${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"

# What each folder may include besides itself. tools/ and fuzz/ build
# without a window or GL, so they stay below the renderer.
allowed_below() {
  case "$1" in
    base) echo "" ;;
    scene) echo "base" ;;
    scenefile | modeling | import) echo "base scene" ;;
    image) echo "base" ;;
    animation) echo "base scene modeling" ;;
    platform) echo "base" ;;
    render) echo "base scene scenefile modeling image platform" ;;
    sound) echo "base scene platform" ;;
    ui) echo "base scene scenefile modeling image import animation platform render sound" ;;
    app) echo "base scene scenefile modeling image import animation platform render sound ui" ;;
    tools | fuzz) echo "base scene scenefile modeling image import" ;;
    *) echo "?" ;;
  esac
}
layers=" base scene scenefile modeling image import animation platform render sound ui app "
graphics_headers='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](SDL2?/|SDL[_.]|epoxy/|GL/|GLES[0-9]*/|EGL/|KHR/)'

offences=0
report() {
  echo "$1: $2" >&2
  offences=$((offences + 1))
}

check_file() {
  local file="$1" folder="$2" enforce_graphics="$3"
  local allowed
  allowed=" $folder $(allowed_below "$folder") "
  local number=0 line target top
  while IFS= read -r line || [ -n "$line" ]; do
    number=$((number + 1))
    [[ "$line" =~ ^[[:space:]]*#[[:space:]]*include ]] || continue
    if [ "$enforce_graphics" = yes ] && [[ "$line" =~ $graphics_headers ]]; then
      report "${file#"$root"/}:$number" "$line   (SDL and GL headers belong to src/platform and src/render)"
      continue
    fi
    [[ "$line" =~ \"([^\"]+)\" ]] || continue
    target="${BASH_REMATCH[1]}"
    if [[ "$target" == *..* ]]; then
      report "${file#"$root"/}:$number" "$line   (include through the folder's name, not a relative path)"
      continue
    fi
    top="${target%%/*}"
    [ "$top" != "$target" ] || continue
    [[ "$layers" == *" $top "* ]] || continue
    if [[ "$allowed" != *" $top "* ]]; then
      report "${file#"$root"/}:$number" "$line   ($folder may not include $top)"
    fi
  done <"$file"
}

check_tree() {
  local base="$1" graphics_rule="$2"
  [ -d "$root/$base" ] || return 0
  local file relative folder enforce
  while IFS= read -r -d '' file; do
    relative="${file#"$root/$base"/}"
    folder="${relative%%/*}"
    [ "$(allowed_below "$folder")" = "?" ] && continue
    enforce=no
    if [ "$graphics_rule" = yes ] && [ "$folder" != platform ] && [ "$folder" != render ]; then enforce=yes; fi
    check_file "$file" "$folder" "$enforce"
  done < <(find "$root/$base" -type f \( -name '*.h' -o -name '*.hpp' -o -name '*.cpp' -o -name '*.c' \) -print0 | sort -z)
}

check_tree src yes
# tools/ and fuzz/ are layers of their own, named by their folder.
for extra in tools fuzz; do
  if [ -d "$root/$extra" ]; then
    while IFS= read -r -d '' file; do
      check_file "$file" "$extra" yes
    done < <(find "$root/$extra" -type f \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z)
  fi
done

if [ "$offences" -gt 0 ]; then
  echo "check-layers: $offences include(s) break the layering (see docs/architecture.md)" >&2
  exit 1
fi
echo "check-layers: every include respects the layering"
