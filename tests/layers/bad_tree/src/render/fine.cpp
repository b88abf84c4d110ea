// The renderer may include the GL loader and the scene.
#include <epoxy/gl.h>
#include "scene/scene.h"
