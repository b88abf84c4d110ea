#include "ui/control3d.h"

#include "render/renderer.h"
#include "ui/interface.h"
#include "ui/panel.h"

namespace morvanex {

Control3d::~Control3d() = default;

bool Control3d::handleInput(const WindowMessage&) { return true; }

void Control3d::setVisible(bool value) { visible = value; }

void Control3d::toggleVisible() { setVisible(!visible); }

void Control3d::draw(float) {}

void Control3d::drawOverlay(float) {}

void Control3d::releaseGpuResources() {}

void Control3d::linkInChain(Control3d*, Control3d*) {}

void Control3d::selectInGroup() {
    checked = true;
    if (group != nullptr) group->select(*this);
}

int Control3d::screenX() const { return (panel != nullptr ? panel->x : 0) + x; }
int Control3d::screenY() const { return (panel != nullptr ? panel->y : 0) + y; }

bool Control3d::contains(int px, int py) const {
    const int left = screenX();
    const int top = screenY();
    return px >= left && px < left + width && py >= top && py < top + height;
}

Interface& Control3d::interface() const { return panel->interface(); }
InterfaceHost& Control3d::host() const { return panel->interface().host(); }
InterfaceDrawing& Control3d::drawing() const { return panel->renderer().ui; }
const LabelTable& Control3d::labels() const { return panel->interface().labels(); }

bool ControleGroupe::handleInput(const WindowMessage&) { return false; }

void ControleGroupe::select(Control3d& member) {
    for (std::size_t i = 0; i < members.size(); ++i) {
        Control3d* other = members[i];
        if (other == &member) {
            if (boundIndex != nullptr) *boundIndex = static_cast<int>(i);
            continue;
        }
        other->checked = false;
        if (other->boundFlag != nullptr) *other->boundFlag = false;
        if (other->dependants != nullptr) other->dependants->showDependants(false);
    }
    if (member.dependants != nullptr) member.dependants->showDependants(true);
}

void ControleGroupe::selectIndex(std::size_t index) {
    if (index >= members.size()) return;
    members[index]->checked = true;
    select(*members[index]);
}

void ControleGroupe::clear() {
    for (Control3d* member : members) {
        member->checked = false;
        if (member->boundFlag != nullptr) *member->boundFlag = false;
        if (member->dependants != nullptr) member->dependants->showDependants(false);
    }
}

void ControleGroupe::showDependants(bool value) {
    for (Control3d* widget : dependants) widget->setVisible(value);
}

void ControleGroupe::addMember(Control3d& member) {
    members.push_back(&member);
    member.group = this;
}

}  // namespace morvanex
