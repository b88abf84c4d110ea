#include "resources/svg_raster.h"

#include <cairo.h>
#include <librsvg/rsvg.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>

namespace morvanex::resources {

namespace {

struct HandleRelease {
    void operator()(RsvgHandle* handle) const { g_object_unref(handle); }
};
struct SurfaceRelease {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextRelease {
    void operator()(cairo_t* context) const { cairo_destroy(context); }
};

std::string takeMessage(GError* error) {
    std::string message = error ? error->message : "unknown error";
    if (error) g_error_free(error);
    return message;
}

// Cairo keeps native-endian 32-bit premultiplied ARGB words.
DecodedImage straightRgba(cairo_surface_t* surface, int width, int height) {
    DecodedImage image;
    image.width = width;
    image.height = height;
    ImageLevel level{width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width * height * 4))};
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t argb = row[x];
            const std::uint32_t a = argb >> 24;
            std::uint8_t* out = &level.bytes[static_cast<std::size_t>((y * width + x) * 4)];
            for (int c = 0; c < 3; ++c) {
                const std::uint32_t premultiplied = (argb >> (16 - 8 * c)) & 0xFFu;
                out[c] = a == 0 ? 0 : static_cast<std::uint8_t>(std::min<std::uint32_t>(255, (premultiplied * 255 + a / 2) / a));
            }
            out[3] = static_cast<std::uint8_t>(a);
        }
    }
    image.levels.push_back(std::move(level));
    return image;
}

}  // namespace

ImageResult rasteriseSvg(std::string_view svgText, int width, int height) {
    if (width <= 0 || height <= 0 || width > kMaxImageDimension || height > kMaxImageDimension)
        return ImageResult::failure("svg: size out of range");
    GError* error = nullptr;
    std::unique_ptr<RsvgHandle, HandleRelease> handle(
        rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(svgText.data()), svgText.size(), &error));
    if (!handle) return ImageResult::failure("svg: " + takeMessage(error));

    double drawnWidth = 0.0, drawnHeight = 0.0;
    if (!rsvg_handle_get_intrinsic_size_in_pixels(handle.get(), &drawnWidth, &drawnHeight))
        return ImageResult::failure("svg: the document gives no size in pixels");
    if (std::lround(drawnWidth) != width || std::lround(drawnHeight) != height)
        return ImageResult::failure("svg: drawn for " + std::to_string(std::lround(drawnWidth)) + " x " +
                                    std::to_string(std::lround(drawnHeight)) + ", wanted " + std::to_string(width) +
                                    " x " + std::to_string(height));

    std::unique_ptr<cairo_surface_t, SurfaceRelease> surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return ImageResult::failure("svg: no drawing surface");
    {
        std::unique_ptr<cairo_t, ContextRelease> context(cairo_create(surface.get()));
        const RsvgRectangle viewport{0.0, 0.0, static_cast<double>(width), static_cast<double>(height)};
        if (!rsvg_handle_render_document(handle.get(), context.get(), &viewport, &error))
            return ImageResult::failure("svg: " + takeMessage(error));
    }
    cairo_surface_flush(surface.get());
    return ImageResult::success(straightRgba(surface.get(), width, height));
}

}  // namespace morvanex::resources
