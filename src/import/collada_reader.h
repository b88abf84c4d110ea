// COLLADA import.
//
// Geometries become objects: one per geometry and material, or, for a
// skinned geometry, one per joint that leads its corners (the joint with the
// largest weight). Triangles, polylists, polygons (of any corner count),
// tristrips and trifans are read with the offsets of all their inputs.
// Nodes place the objects (the whole transform stack), build the parent and
// child links and the skeleton records; animation channels become key
// images. The up axis is turned to Y and the unit scaled: 30 scene units per
// metre by default. The report lists what was not read.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

#include "import/import_result.h"

namespace morvanex {

ImportResult importColladaBytes(std::span<const std::uint8_t> bytes, const ImportOptions& options);
ImportResult importCollada(const std::filesystem::path& path, ImportOptions options = {});

}  // namespace morvanex
