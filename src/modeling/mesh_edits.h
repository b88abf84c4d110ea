// Edits of an object's triangles and texture coordinates in place. Each
// drops what was derived from the mesh; uploading the buffers again is the
// caller's business.
#pragma once

namespace morvanex {

struct SceneObject;

// Exchanges the first and third corner of each triangle (of the selected
// ones only when asked); returns the number reversed.
int reverseWinding(SceneObject& object, bool selectedOnly);

// Gives each selected triangle the normal of its plane on its three
// corners and deselects it; returns the number changed.
int flattenSelectedTriangles(SceneObject& object);

// The first coordinate set from a projection on the x-y plane over the
// object's bounds: (0, 0) at the lowest corner, (1, 1) at the highest. A
// flat extent maps to 0.
void projectTexcoordsOnXy(SceneObject& object);

// The second coordinate set copied into the first.
void copySecondTexcoords(SceneObject& object);

}  // namespace morvanex
