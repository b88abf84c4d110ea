// A scene record that reaches up into the renderer and down into SDL: both
// lines must be reported.
#pragma once
#include <SDL.h>
#include "render/renderer.h"
#include "scene/math.h"
