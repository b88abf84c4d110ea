#include "ui/label_table.h"

#include <algorithm>

namespace morvanex {

int LabelTable::findFrench(std::string_view text) const {
    const auto found = std::find(french_.begin(), french_.end(), text);
    return found == french_.end() ? -1 : static_cast<int>(found - french_.begin());
}

const std::string& LabelTable::text(int number) const {
    static const std::string kNone;
    const std::vector<std::string>& table = language == Language::French ? french_ : english_;
    if (number < 0 || static_cast<std::size_t>(number) >= table.size()) return kNone;
    return table[static_cast<std::size_t>(number)];
}

void refreshLabel(const LabelTable& labels, int number, std::string& text) {
    if (number > 0) text = labels.text(number);
}

}  // namespace morvanex
