// Label lookup: every text a widget shows is kept as a label number into
// the French and English tables, so that switching the language changes
// every text on the next frame. The tables themselves are loaded by the
// main screen; the toolkit only looks them up.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace morvanex {

enum class Language { French, English };

class LabelTable {
public:
    LabelTable() = default;
    LabelTable(std::vector<std::string> french, std::vector<std::string> english)
        : french_(std::move(french)), english_(std::move(english)) {}

    // The number of the first French entry equal to the text, or -1. Entry
    // numbers start at 0, one per line of the label file.
    int findFrench(std::string_view text) const;
    // Whether the number names an entry: within the French table (the
    // numbering) and within the table of the current language.
    bool has(int number) const;
    // The entry of that number in the current language; empty when `has` is false.
    const std::string& text(int number) const;
    // The French entry of that number, whatever the language; empty past
    // the table. Widgets are created with it so that they find their number.
    const std::string& frenchText(int number) const;

    Language language = Language::French;

private:
    std::vector<std::string> french_;
    std::vector<std::string> english_;
};

// The label refresh: a number above 0 that names an entry replaces `text`
// with it in the current language; 0, -1 and numbers past the tables leave
// it as it is.
void refreshLabel(const LabelTable& labels, int number, std::string& text);

}  // namespace morvanex
