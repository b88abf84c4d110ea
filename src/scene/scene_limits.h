// Fixed capacities of the scene records and the program's version texts.
// Everything not listed here is a growable list bounded only by memory.
#pragma once

#include <cstddef>
#include <string_view>

namespace morvanex {

// Lights: the scene's global slots and every object's own slots.
inline constexpr std::size_t kGlobalLightSlots = 8;
inline constexpr std::size_t kObjectLightSlots = 8;

// Bone table of one animation: bone numbers 0 to 59.
inline constexpr std::size_t kBoneSlots = 60;

// Per-object tables.
inline constexpr std::size_t kTextureSlots = 3;
inline constexpr std::size_t kProfileCurves = 3;
inline constexpr std::size_t kRenderSwitches = 10;
inline constexpr std::size_t kRenderValues = 10;
inline constexpr std::size_t kLightParameterBlocks = 3;

// Sequence references of one animation header.
inline constexpr std::size_t kSequenceReferences = 5;

// Text fields of the animation header are 255-byte fields: at most 254 text
// bytes and a terminating 0.
inline constexpr std::size_t kAnimationTextFieldBytes = 255;
inline constexpr std::size_t kAnimationTextBytes = 254;

// Each of the four parallel point arrays of the old objects' second legacy
// list holds at most this many entries; a larger count means a damaged file.
inline constexpr std::size_t kLegacyArrayCapacity = 100;

// Objects the application creates for its own use (camera, light marker, ...).
inline constexpr std::size_t kServiceObjectCount = 4;

// The program's own version label. It matches no file tag, so once it is the
// scene's loaded tag every version test fails safely.
inline constexpr std::string_view kProgramVersionLabel = "Morvanex v4.2.6";

// The tag the writer puts at the head of every scene file, and the prefix all
// tags of the current file family share.
inline constexpr std::string_view kNewestFileTag = "Morvanexv4 1.16.8";
inline constexpr std::string_view kFileTagPrefix = "Morvanexv4 ";

}  // namespace morvanex
