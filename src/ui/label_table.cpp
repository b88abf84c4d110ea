#include "ui/label_table.h"

#include <algorithm>

namespace morvanex {

int LabelTable::findFrench(std::string_view text) const {
    const auto found = std::find(french_.begin(), french_.end(), text);
    return found == french_.end() ? -1 : static_cast<int>(found - french_.begin());
}

bool LabelTable::has(int number) const {
    const std::vector<std::string>& table = language == Language::French ? french_ : english_;
    const auto index = static_cast<std::size_t>(number);
    return number >= 0 && index < french_.size() && index < table.size();
}

const std::string& LabelTable::text(int number) const {
    static const std::string kNone;
    if (!has(number)) return kNone;
    const std::vector<std::string>& table = language == Language::French ? french_ : english_;
    return table[static_cast<std::size_t>(number)];
}

const std::string& LabelTable::frenchText(int number) const {
    static const std::string kNone;
    if (number < 0 || static_cast<std::size_t>(number) >= french_.size()) return kNone;
    return french_[static_cast<std::size_t>(number)];
}

void refreshLabel(const LabelTable& labels, int number, std::string& text) {
    if (number > 0 && labels.has(number)) text = labels.text(number);
}

}  // namespace morvanex
