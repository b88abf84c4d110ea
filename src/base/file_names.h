// File names taken from untrusted text (scene files, imported files).
#pragma once

#include <string_view>

namespace morvanex {

// The last component of a name (after the last '/' or '\'); empty for "."
// and "..". Joined to a folder it stays in that folder, whatever the text
// held: every path made from a name read in a file is made from this.
inline std::string_view fileNameLeaf(std::string_view name) {
    const std::size_t separator = name.find_last_of("/\\");
    const std::string_view leaf = separator == std::string_view::npos ? name : name.substr(separator + 1);
    return leaf == "." || leaf == ".." ? std::string_view() : leaf;
}

}  // namespace morvanex
