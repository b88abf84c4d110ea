// The renderer: owner of everything the graphics driver holds for the
// program. It is made right after the graphics context, before the
// application, and lives until shutdown.
#pragma once

#include <filesystem>

#include "render/constant_blocks.h"
#include "render/dynamic_buffer.h"
#include "render/gl_state.h"
#include "render/interface_drawing.h"
#include "render/pipeline_states.h"
#include "render/render_targets.h"
#include "render/shader_library.h"
#include "render/text_fonts.h"
#include "render/texture_loading.h"
#include "scene/math.h"

namespace morvanex {

class GraphicsContext;
class Scene;
struct SceneObject;
class TraceLog;

// Where the renderer finds its programs and writes their compile logs.
struct RendererSetup {
    std::filesystem::path programFolder;  // holds the "shaders" folder
    std::filesystem::path shaderErrorFile;  // "error.txt" in the program-data folder
};

class Renderer {
public:
    // Without a graphics context: holds nothing and draws nothing (the
    // application's tests run without a window).
    explicit Renderer(const TraceLog& trace);
    // Draws into the frame targets of the graphics context, which keeps this
    // renderer's size copy up to date; loads every program, the pipeline
    // states, the samplers, the shared transform block, the interface
    // images and the fonts (programs, images and fonts only when the setup
    // names a program folder).
    Renderer(const TraceLog& trace, GraphicsContext& graphics, const RendererSetup& setup = {});
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // Refreshes the copy of the drawing area's size in pixels (called by the
    // graphics context after every resize of the frame targets).
    void resizeTargets(int width, int height);

    // Clears the frame targets to the clear colour and the depth to 1
    // (nothing without a graphics context).
    void beginFrame();

    // Reads back one pixel of the current frame (x from the left, y from the
    // top), RGBA bytes; for tests and screenshots. Zero without a context.
    void readPixel(int x, int y, unsigned char rgba[4]) const;

    Vec4 clearColour{0.28f, 0.63f, 1.0f, 1.0f};
    double runningClock = 0.0;  // seconds of frames drawn, advanced by the frame step

    int width() const { return width_; }
    int height() const { return height_; }
    GraphicsContext* graphics() const { return graphics_; }
    // False for a renderer made without a graphics context.
    bool canDraw() const { return canDraw_; }

    // The graphics context goes away first (tests): forget it.
    void detachGraphics(const GraphicsContext* graphics);

    // Stages and programs that failed to load (0 when all are ready).
    int programFailures() const { return programFailures_; }

    // Fills the world, view and projection part of the shared transform
    // block (world x view, world x view x projection included) and binds it
    // to slot 0: the transforms of every drawing that is not a scene object.
    void setTransforms(const Mat4& world, const Mat4& view, const Mat4& projection);

    // After a scene was read or built: the images of its textures that have
    // none yet, every object's buffers and blocks, and the environment cubes
    // saved in the scene's folder for its static environment-mapped objects
    // (those are never rendered again). Returns how many texture images
    // could not be made.
    int prepareScene(Scene& scene, const std::filesystem::path& sceneFolder = {});

    // Interface images the scene passes bind (null when missing).
    const TextureImage* whiteImage() const { return whiteImage_; }
    const TextureImage* markerImage() const { return markerImage_; }

    ShaderLibrary shaders;
    PipelineStates states;
    GlState gl;
    UniformBuffer transformBlock;  // shared by every draw of the scene
    DynamicVertexBuffer screenQuads;  // interface quads, rewritten each use
    DynamicVertexBuffer glyphs;       // text
    DynamicVertexBuffer worldLines;   // lines in the scene
    TextureList textures;          // every image loaded, in load order
    InterfaceImages interfaceImages;  // the widgets' images, by name
    TextResources text;            // fonts, the line vertex list, the text draw count
    OffscreenDepthTargets offscreenDepth;  // cube, full and half depth of the off-screen passes
    RenderTexture preview;         // the 960 x 540 preview image
    InterfaceDrawing ui{*this};    // the widgets' drawing operations, batched

private:
    void loadSavedEnvironmentCube(SceneObject& object, const std::filesystem::path& sceneFolder);

    const TraceLog& trace_;
    GraphicsContext* graphics_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    int programFailures_ = 0;
    bool canDraw_ = false;
    const TextureImage* whiteImage_ = nullptr;
    const TextureImage* markerImage_ = nullptr;
};

}  // namespace morvanex
