#include "base/trace_log.h"

#include <fstream>

namespace morvanex {

void TraceLog::line(std::string_view text) const {
    if (path_.empty()) return;
    std::ofstream file(path_, std::ios::binary | std::ios::app);
    if (!file) return;
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    file.write("\r\n", 2);
}

void TraceLog::result(std::string_view call, std::string_view resultName) const {
    std::string text(call);
    text += ", hr = ";
    text += resultName;
    line(text);
}

}  // namespace morvanex
