#!/usr/bin/env bash
# The layering check passes on the project and rejects the fixture tree's
# bad includes, naming each one, while letting its good ones through.
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
check="$here/../../scripts/check-layers.sh"
status=0

if ! bash "$check" >/dev/null; then
  echo "FAIL: the project's own includes break the layering:" >&2
  bash "$check" 2>&1 | sed 's/^/  /' >&2
  status=1
fi

output="$(bash "$check" "$here/bad_tree" 2>&1)"
code=$?
if [ "$code" -ne 1 ]; then
  echo "FAIL: the fixture tree was accepted (exit $code)" >&2
  status=1
fi
for expected in 'src/scene/bad_record.h:4: #include <SDL.h>' \
                'src/scene/bad_record.h:5: #include "render/renderer.h"' \
                'tools/generator.cpp:3: #include "render/graphics_context.h"'; do
  if ! grep -qF "$expected" <<<"$output"; then
    echo "FAIL: not reported: $expected" >&2
    status=1
  fi
done
if grep -q 'fine.cpp\|scene/math.h\|image_codec.h' <<<"$output"; then
  echo "FAIL: an allowed include was reported:" >&2
  echo "$output" >&2
  status=1
fi
exit "$status"
