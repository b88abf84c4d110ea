// The tab strip: a row of tabs, each showing its page (the widgets that
// depend on it) while selected. The strip owns its tabs, offers them its
// input and draws them itself, so that the selected tab lies over the
// strip's line and its neighbours.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/colour_fade.h"
#include "ui/control3d.h"

namespace morvanex {

class Onglets;
class TextureImage;

class Onglet : public Control3d {
public:
    bool handleInput(const WindowMessage& message) override;

    Onglets* strip = nullptr;
    int index = 0;                                   // position in the strip
    const TextureImage* texture = nullptr;           // normally "UI\onglet8.dds"
    const TextureImage* firstTabTexture = nullptr;   // tab 0 while the strip is greyed
    std::string caption;                             // label-refreshed
    Vec4 tint = kOpaqueWhite;
    Vec4 highlight = kOpaqueWhite;                   // alpha 1 while hot, 0.5 otherwise

    // Fades and draws the tab (drawn at y + 1: adjacent tabs share a pixel
    // column and the selected one covers the strip's line).
    void drawTab(float elapsedSeconds, float alpha);
};

class Onglets : public Control3d {
public:
    bool handleInput(const WindowMessage& message) override;
    void draw(float elapsedSeconds) override;

    // Appends a tab; its page is empty until widgets are made its dependants
    // (addDependant). The first tab starts selected.
    Onglet& addTab(std::string_view textureFile, std::string_view caption, std::string_view firstTabTextureFile = {});
    // Changes tabs without a click: the other pages hidden, this one shown.
    // The application changes what the pages show itself: nothing is sent.
    void select(int index);
    // The tab's x relative to the panel; the tab to its left ends one pixel
    // inside it.
    int tabX(int index) const;

    std::vector<std::unique_ptr<Onglet>> tabs;
    int stripX = 0;
    int stripY = 0;
    int selected = 0;
    bool greyed = false;  // the line in grey instead of the accent

private:
    friend class Onglet;
    void press(Onglet& tab);
    void showPage(Onglet& tab, bool shown);
    void drawStripLine(const Onglet& chosen);
};

// Add operation: a tab strip at x, its y the panel's layout cursor after `step`.
Onglets& addTabStrip(Panel& panel, int x, int step);

}  // namespace morvanex
