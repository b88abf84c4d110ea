#include "ui/tab_strip.h"

#include <algorithm>
#include <cmath>

#include "render/interface_drawing.h"
#include "render/renderer.h"
#include "render/texture_image.h"
#include "ui/image_button.h"
#include "ui/interface_host.h"
#include "ui/label_table.h"
#include "ui/panel.h"

namespace morvanex {

namespace {

constexpr Vec4 kStripColour{17.0f / 255.0f, 207.0f / 255.0f, 1.0f, 1.0f};
constexpr Vec4 kGreyedStripColour{90.0f / 255.0f, 90.0f / 255.0f, 90.0f / 255.0f, 1.0f};
constexpr float kSelectedTabAlpha = 0.9f;
constexpr float kTextHeight = 20.0f;
constexpr int kTabHeightWithoutImage = 24;
constexpr int kCaptionPadding = 20;

}  // namespace

// ---------------------------------------------------------------------------
// Tabs

bool Onglet::handleInput(const WindowMessage& message) {
    const int px = messageX(message);
    const int py = messageY(message);
    if (isLeftPress(message)) {
        if (!enabled || !contains(px, py)) return false;
        strip->press(*this);
        return true;
    }
    if (message.message == wm::MouseMove) {
        hot = contains(px, py);
        return hot;
    }
    return false;
}

void Onglet::drawTab(float dt, float alpha) {
    refreshLabel(labels(), captionLabel, caption);
    fadeColour(tint, kOpaqueWhite, kWidgetFadeRate, dt);
    fadeColour(highlight, {1.0f, 1.0f, 1.0f, hot ? 1.0f : 0.5f}, kWidgetFadeRate, dt);
    const float opacity = tint.w * highlight.w * alpha;
    const TextureImage* shown = index == 0 && strip->greyed && firstTabTexture != nullptr ? firstTabTexture : texture;
    InterfaceDrawing& ui = drawing();
    const float left = static_cast<float>(screenX());
    const float top = static_cast<float>(screenY() + 1);
    ui.imageQuad(shown, {left, top, static_cast<float>(width), static_cast<float>(height)},
                 {tint.x, tint.y, tint.z, opacity});
    const float textLeft = std::floor(left + (static_cast<float>(width) - ui.measureText(caption)) * 0.5f);
    const float textTop = std::floor(top + (static_cast<float>(height) - kTextHeight) * 0.5f);
    ui.text(textTop, textLeft, caption, {1.0f, 1.0f, 1.0f, tint.w * alpha});
}

// ---------------------------------------------------------------------------
// The strip

int Onglets::tabX(int index) const {
    int left = stripX;
    for (int i = 0; i < index && i < static_cast<int>(tabs.size()); ++i) left += tabs[static_cast<std::size_t>(i)]->width - 1;
    return left;
}

Onglet& Onglets::addTab(std::string_view textureFile, std::string_view tabCaption,
                        std::string_view firstTabTextureFile) {
    auto tab = std::make_unique<Onglet>();
    InterfaceDrawing& ui = panel->renderer().ui;
    tab->strip = this;
    tab->panel = panel;
    tab->index = static_cast<int>(tabs.size());
    tab->texture = ui.image(textureFile);
    if (!firstTabTextureFile.empty()) tab->firstTabTexture = ui.image(firstTabTextureFile);
    tab->caption = std::string(tabCaption);
    tab->captionLabel = labelOf(*panel, tabCaption);
    if (tab->texture != nullptr) {
        tab->width = tab->texture->width;
        tab->height = tab->texture->height;
    } else {  // still usable without its image
        tab->width = static_cast<int>(std::ceil(ui.measureText(tabCaption))) + kCaptionPadding;
        tab->height = kTabHeightWithoutImage;
    }
    tab->x = tabX(tab->index);
    tab->y = stripY;
    tab->checked = tab->index == selected;
    tabs.push_back(std::move(tab));
    Onglet& added = *tabs.back();
    width = added.x + added.width - stripX;
    height = std::max(height, added.height + 1);
    return added;
}

void Onglets::showPage(Onglet& tab, bool shown) {
    if (tab.dependants != nullptr) tab.dependants->showDependants(shown);
}

void Onglets::press(Onglet& tab) {
    if (selected >= 0 && selected < static_cast<int>(tabs.size())) {
        Onglet& previous = *tabs[static_cast<std::size_t>(selected)];
        host().onTabLeave(previous);
        previous.checked = false;
        showPage(previous, false);
    }
    tab.checked = true;
    showPage(tab, true);
    selected = tab.index;
    host().onTabEnter(tab);
    for (Panel* child : panel->childPanels) child->setVisible(false);
}

void Onglets::select(int index) {
    if (index < 0 || index >= static_cast<int>(tabs.size())) return;
    for (auto& tab : tabs) {
        if (tab->index == index) continue;
        tab->checked = false;
        showPage(*tab, false);
    }
    Onglet& chosen = *tabs[static_cast<std::size_t>(index)];
    chosen.checked = true;
    showPage(chosen, true);
    selected = index;
}

bool Onglets::handleInput(const WindowMessage& message) {
    if (isLeftPress(message)) {
        for (auto& tab : tabs) {
            if (tab->visible && tab->handleInput(message)) return true;
        }
        return false;
    }
    if (message.message == wm::MouseMove) {
        bool over = false;
        for (auto& tab : tabs) over = tab->handleInput(message) || over;
        hot = over;
        return over;
    }
    return false;
}

void Onglets::drawStripLine(const Onglet& chosen) {
    const Vec4 colour = greyed ? kGreyedStripColour : kStripColour;
    const float lineY = static_cast<float>(panel->y + stripY + chosen.height);
    const float panelLeft = static_cast<float>(panel->x);
    const float panelRight = static_cast<float>(panel->x + panel->width);
    const float tabLeft = static_cast<float>(chosen.screenX());
    const float tabRight = tabLeft + static_cast<float>(chosen.width);
    InterfaceDrawing& ui = drawing();
    if (tabLeft > panelLeft) ui.horizontalLine(panelLeft, lineY, tabLeft - panelLeft, colour);
    if (panelRight > tabRight) ui.horizontalLine(tabRight, lineY, panelRight - tabRight, colour);
}

void Onglets::draw(float dt) {
    if (tabs.empty()) return;
    // The panel clears `hot` when the pointer leaves it; the tabs follow.
    if (!hot) {
        for (auto& tab : tabs) tab->hot = false;
    }
    const int chosen = std::clamp(selected, 0, static_cast<int>(tabs.size()) - 1);
    for (auto& tab : tabs) {
        if (tab->index != chosen && tab->visible) tab->drawTab(dt, 1.0f);
    }
    Onglet& selectedTab = *tabs[static_cast<std::size_t>(chosen)];
    drawStripLine(selectedTab);
    if (selectedTab.visible) selectedTab.drawTab(dt, kSelectedTabAlpha);
}

Onglets& addTabStrip(Panel& panel, int x, int step) {
    auto strip = std::make_unique<Onglets>();
    strip->x = strip->stripX = x;
    strip->y = strip->stripY = panel.nextLayoutY(step);
    return panel.add(std::move(strip));
}

}  // namespace morvanex
