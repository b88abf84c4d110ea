// morvanex gallery -o OUT.png [--size WxH]
//
// Draws the widget gallery (every kind of widget in its states) headless
// into a PNG, for looking at the interface toolkit as a whole.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace morvanex {

int runGalleryCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace morvanex
