#include "ui/panel.h"

#include <algorithm>

#include "render/interface_drawing.h"
#include "render/renderer.h"
#include "ui/colour_fade.h"
#include "ui/control3d.h"
#include "ui/interface.h"
#include "ui/interface_host.h"

namespace morvanex {

namespace {

constexpr float kMovingAlpha = 100.0f / 255.0f;  // a moved panel shows what lies under it
constexpr Vec4 kProgressOutline{17.0f / 255.0f, 205.0f / 255.0f, 1.0f, 1.0f};
constexpr Vec4 kTitleColour{1.0f, 1.0f, 1.0f, 1.0f};
constexpr Vec4 kTitleLineColour{17.0f / 255.0f, 205.0f / 255.0f, 1.0f, 0.8f};
constexpr int kTitleUnderlineY = 24;
constexpr int kTitleCloseMargin = 25;  // the title bar stops short of the close button

// The panel's y reduced by its content offset while an item is offered
// input or drawn, as the items measure themselves from it.
class ContentOffset {
public:
    ContentOffset(Panel& panel, bool apply)
        : panel_(panel), saved_(panel.y), apply_(apply) {
        if (apply_) panel_.y -= static_cast<int>(panel_.contentOffset);
    }
    ~ContentOffset() { panel_.y = saved_; }
    ContentOffset(const ContentOffset&) = delete;
    ContentOffset& operator=(const ContentOffset&) = delete;

private:
    Panel& panel_;
    int saved_;
    bool apply_;
};

}  // namespace

Vec4 ArgbColour::toFloat() const {
    return {static_cast<float>(r) / 255.0f, static_cast<float>(g) / 255.0f, static_cast<float>(b) / 255.0f,
            static_cast<float>(a) / 255.0f};
}

Panel::Panel(Interface& interface, std::string panelName, int px, int py, int w, int h,
             const PanelColourWords& colours)
    : homeX(px), homeY(py), styleWords(colours), x(px), y(py), width(w), homeWidth(w), height(h), homeHeight(h),
      name(std::move(panelName)), interface_(&interface) {
    for (std::size_t i = 0; i < bodyColours.size(); ++i) {
        bodyColours[i] = {colours[i * 4], colours[i * 4 + 1], colours[i * 4 + 2], colours[i * 4 + 3]};
        currentColours[i] = bodyColours[i].toFloat();
    }
    relX = static_cast<float>(px);
}

Panel::~Panel() = default;

Renderer& Panel::renderer() const { return interface_->renderer(); }

void Panel::adopt(std::unique_ptr<Control3d> widget) {
    widget->panel = this;
    items.push_back(std::move(widget));
}

int Panel::nextLayoutY(int step) {
    layoutCursor += step;
    return layoutCursor;
}

// ---------------------------------------------------------------------------
// Showing and hiding

void Panel::setVisible(bool value) {
    const bool appearing = value && !visible;
    if (appearing && centreOnShow) {
        x = (interface_->viewWidth() - width) / 2;
        y = (interface_->viewHeight() - height) / 2;
    }
    if (appearing) {
        for (std::size_t i = 0; i < currentColours.size(); ++i) {
            currentColours[i] = bodyColours[i].toFloat();
            currentColours[i].w = 0.0f;  // it fades in
        }
    }
    visible = value;
    if (value) {
        interface_->bringToFront(*this, true);
        interface_->host().onPanelShown(*this);
        return;
    }
    moving = false;
    bodyPressed = false;
    if (interface_->movingPanel == this) interface_->movingPanel = nullptr;
    const Control3d* focus = interface_->focusedEditBox;
    if (focus != nullptr && focus->panel == this) interface_->releaseFocus();
    interface_->host().onPanelHidden(*this);
    for (auto child = childPanels.rbegin(); child != childPanels.rend(); ++child) (*child)->setVisible(false);
}

void Panel::toggleVisible() {
    if (!visible) {
        setVisible(true);
        for (std::size_t i = 0; i < currentColours.size(); ++i) currentColours[i] = bodyColours[i].toFloat();
        return;
    }
    setVisible(false);
}

// ---------------------------------------------------------------------------
// Drawing

void Panel::place() {
    const int viewWidth = interface_->viewWidth();
    const int viewHeight = interface_->viewHeight();
    if (relativePlacement) {
        x = static_cast<int>(relX * static_cast<float>(viewWidth) / kDesignWidth);
        y = static_cast<int>(relY * static_cast<float>(viewHeight));
    }
    if (centreEachFrame) x = (viewWidth - width) / 2;
    // Windows smaller than the design keep every panel whole on screen.
    if (x + width > viewWidth) x = viewWidth - width;
    if (y + height > viewHeight) y = viewHeight - height;
    if (y < 0) y = 0;
}

void Panel::drawProgressBar() {
    InterfaceDrawing& draw = renderer().ui;
    const float left = static_cast<float>((interface_->viewWidth() - width) / 2);
    const float top = static_cast<float>((interface_->viewHeight() - height) / 2);
    PanelBodyStyle body;
    body.rect = {left, top, static_cast<float>(std::clamp(progress, 0, width)), static_cast<float>(height)};
    for (std::size_t i = 0; i < 4; ++i) body.corners[i] = bodyColours[i].toFloat();
    body.outlined = false;
    draw.panelBody(body);
    draw.outline({left, top, static_cast<float>(width), static_cast<float>(height)}, kProgressOutline);
}

void Panel::drawBody(float dt) {
    for (std::size_t i = 0; i < currentColours.size(); ++i) {
        Vec4 target = bodyColours[i].toFloat();
        if (moving) target.w = kMovingAlpha;
        fadeColour(currentColours[i], target, kBodyFadeRate, dt);
    }
    PanelBodyStyle body;
    body.rect = {static_cast<float>(x), static_cast<float>(y), static_cast<float>(width),
                 static_cast<float>(height)};
    body.corners = currentColours;
    body.outlined = outlined;
    body.extended = extendedBody;
    hidePanelsBelow(currentColours);
    InterfaceDrawing& draw = renderer().ui;
    draw.panelBody(body);
    const float fade = currentColours[0].w;
    if (hasTitleBar) {
        draw.text(static_cast<float>(y), static_cast<float>(x + 5), title, {1, 1, 1, kTitleColour.w * fade}, true);
        if (titleUnderline) {
            Vec4 line = kTitleLineColour;
            line.w *= fade;
            draw.horizontalLine(static_cast<float>(x + 5), static_cast<float>(y + kTitleUnderlineY),
                                static_cast<float>(width - 10), line);
        }
    }
    if (hasSideHandle) {
        Vec4 line = kTitleLineColour;
        line.w *= fade;
        draw.verticalLine(static_cast<float>(x + kSideHandleWidth), static_cast<float>(y + 2),
                          static_cast<float>(height - 2), line);
    }
}

void Panel::hidePanelsBelow(const std::array<Vec4, 4>& corners) {
    // A body stays translucent over the 3D view, but over a panel drawn
    // before it the same colours are laid opaque first, so that the text of
    // the panel below does not read through. A moved panel shows what lies
    // under it, and one fading in hides what is below as it appears.
    if (moving) return;
    // How far the body has faded in: 1 once it shows its own colours.
    const float target = bodyColours[0].toFloat().w;
    const float appeared = target > 0.0f ? std::clamp(corners[0].w / target, 0.0f, 1.0f) : 0.0f;
    if (appeared <= 0.0f) return;
    const auto right = static_cast<float>(x + width);
    const auto bottom = static_cast<float>(y + height);
    InterfaceDrawing& draw = renderer().ui;
    for (const Panel* below : interface_->panelsDrawnBelow()) {
        const float left = static_cast<float>(std::max(x, below->x));
        const float top = static_cast<float>(std::max(y, below->y));
        const float overlapRight = std::min(right, static_cast<float>(below->x + below->width));
        const float overlapBottom = std::min(bottom, static_cast<float>(below->y + below->height));
        if (overlapRight <= left || overlapBottom <= top) continue;
        const UiRect overlap{left, top, overlapRight - left, overlapBottom - top};
        std::array<Vec4, 4> backing{};
        const std::array<Vec2, 4> places{Vec2{left, top}, Vec2{overlapRight, top}, Vec2{overlapRight, overlapBottom},
                                         Vec2{left, overlapBottom}};
        for (std::size_t i = 0; i < backing.size(); ++i) {
            const float u = width > 0 ? (places[i].x - static_cast<float>(x)) / static_cast<float>(width) : 0.0f;
            const float v = height > 0 ? (places[i].y - static_cast<float>(y)) / static_cast<float>(height) : 0.0f;
            backing[i] = lerp(lerp(corners[0], corners[1], u), lerp(corners[3], corners[2], u), v);
            backing[i].w = appeared;
        }
        draw.gradientQuad(overlap, backing);
    }
}

void Panel::drawItems(float dt) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        Control3d& item = *items[i];
        if (!item.visible) continue;
        const ContentOffset offset(*this, itemTakesOffset(i));
        item.draw(dt);
    }
    linkTabChain();
    for (std::size_t i = 0; i < items.size(); ++i) {
        Control3d& item = *items[i];
        if (!item.visible || (item.hintText.empty() && item.richHint == nullptr)) continue;
        const ContentOffset offset(*this, itemTakesOffset(i));
        item.drawOverlay(dt);
    }
}

void Panel::linkTabChain() {
    std::vector<Control3d*> boxes;
    for (const auto& item : items) {
        if (item->visible && item->kind == "editbox") boxes.push_back(item.get());
    }
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        boxes[i]->linkInChain(boxes[(i + boxes.size() - 1) % boxes.size()], boxes[(i + 1) % boxes.size()]);
    }
}

void Panel::draw(float dt) {
    if (!visible) return;
    place();
    if (progressBar) {
        drawProgressBar();
        return;
    }
    drawBody(dt);
    drawItems(dt);
}

// ---------------------------------------------------------------------------
// Input

bool Panel::inTitleBar(int px, int py) const {
    return hasTitleBar && py < y + kTitleBarHeight && px < x + width - kTitleCloseMargin;
}

bool Panel::inSideHandle(int px) const { return hasSideHandle && px < x + kSideHandleWidth; }

void Panel::notePointerOver(int px, int py) {
    if (contains(px, py)) interface_->pointerOverInterface = {true, true};
}

bool Panel::offerToItems(const WindowMessage& message, bool titleBarOnly) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        Control3d& item = *items[i];
        if (!item.visible || (titleBarOnly && item.y >= kTitleBarHeight)) continue;
        const ContentOffset offset(*this, itemTakesOffset(i));
        if (item.handleInput(message)) return true;
    }
    return false;
}

bool Panel::offerKeyToEditBoxes(const WindowMessage& message) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        Control3d& item = *items[i];
        // The key bar takes the right button too (its scale menu), never keys.
        const bool keyBarRightPress = message.message == wm::RButtonDown && item.kind == "keybar";
        if (!item.visible || (item.kind != "editbox" && !keyBarRightPress)) continue;
        if (message.message == wm::Char && !item.focused) continue;
        const ContentOffset offset(*this, itemTakesOffset(i));
        if (item.handleInput(message)) return true;
    }
    return false;
}

bool Panel::handlePress(const WindowMessage& message) {
    const int px = messageX(message);
    const int py = messageY(message);
    notePointerOver(px, py);
    pressX = px;
    pressY = py;
    pressRelY = py - static_cast<int>(dragOffsetY);
    pressPanelX = x;
    pressPanelY = y;
    if (!contains(px, py)) return false;
    if (px >= x + width - kPanelEdgeStrip) return handleMove(message);
    if (inTitleBar(px, py) || inSideHandle(px)) {
        if (offerToItems(message, true)) return true;
        moving = true;
        interface_->movingPanel = this;
        interface_->bringToFront(*this);
        return true;
    }
    interface_->bringToFront(*this);
    if (offerToItems(message, false)) return true;
    bodyPressed = true;
    return true;
}

bool Panel::handleMove(const WindowMessage& message) {
    const int px = messageX(message);
    const int py = messageY(message);
    interface_->host().setCursor(CursorShape::Arrow);
    notePointerOver(px, py);
    if (moving) {
        x = pressPanelX + (px - pressX);
        y = pressPanelY + (py - pressY);
        return true;
    }
    if (bodyDragScroll && bodyPressed) {
        dragOffsetY = static_cast<float>(py - pressRelY);
        return true;
    }
    if (takesMovesOutside || contains(px, py)) return offerToItems(message, false);
    // The pointer left the panel: its widgets are no longer under it.
    for (const auto& item : items) item->hot = false;
    return false;
}

bool Panel::handleRelease(const WindowMessage& message) {
    const int px = messageX(message);
    const int py = messageY(message);
    notePointerOver(px, py);
    if (bodyPressed) {
        bodyPressed = false;
        return true;
    }
    if (moving) {
        moving = false;
        interface_->movingPanel = nullptr;
        return true;
    }
    if (!contains(px, py)) return false;
    offerToItems(message, false);
    return true;
}

bool Panel::handleInput(const WindowMessage& message) {
    if (!visible) return false;
    if (isKeyMessage(message) || message.message == wm::RButtonDown) return offerKeyToEditBoxes(message);
    switch (message.message) {
        case wm::LButtonDown:
        case wm::LButtonDoubleClick: return handlePress(message);
        case wm::MouseMove: return handleMove(message);
        case wm::LButtonUp: return handleRelease(message);
        case wm::CaptureChanged:
            // The capture went to another window: a move by the title bar ends.
            if (message.lParam == 0) moving = false;
            return false;
        default: return false;
    }
}

}  // namespace morvanex
