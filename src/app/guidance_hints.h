// The guidance hints: rich hints created once by the builder, one chosen
// each frame from the tool and pointer state.
#pragma once

namespace morvanex {

struct GuidanceHints {};

}  // namespace morvanex
