// The interface images drawn as SVG files: one drawing per image in the
// icon folder (tools/resources/ui), rasterised at the size listed here.
// Hover images of buttons are not drawn twice: they are their button's
// drawing with the shared hover treatment (ui/hover_treatment.xml) added,
// which restyles the parts marked by class (plate, rim, ink, ...).
#pragma once

#include <filesystem>
#include <span>
#include <string_view>

#include "image/image_record.h"

namespace morvanex::resources {

enum class IconTreatment : unsigned char { None, Hover };

struct InterfaceIcon {
    std::string_view file;    // written under UI/, UTF-8: "translationx.dds", "imageclé.dds"
    std::string_view source;  // the drawing in the icon folder: "translationx.svg"
    int width = 0;            // pixels; the drawing declares the same size
    int height = 0;
    IconTreatment treatment = IconTreatment::None;
};

inline constexpr std::string_view kHoverTreatmentFile = "hover_treatment.xml";

std::span<const InterfaceIcon> interfaceIcons();

// The icon's drawing, with its treatment, as an RGBA8 image of its listed
// size; the reason names the source file when it cannot be drawn.
ImageResult drawInterfaceIcon(const InterfaceIcon& icon, const std::filesystem::path& iconFolder);

}  // namespace morvanex::resources
