#include "app/trace_log.h"

#include <cstdio>

namespace morvanex {

void TraceLog::line(std::string_view text) const {
    if (path_.empty()) return;
    std::FILE* file = std::fopen(path_.c_str(), "ab");
    if (file == nullptr) return;
    std::fwrite(text.data(), 1, text.size(), file);
    std::fwrite("\r\n", 1, 2, file);
    std::fclose(file);
}

void TraceLog::result(std::string_view call, std::string_view resultName) const {
    std::string text(call);
    text += ", hr = ";
    text += resultName;
    line(text);
}

}  // namespace morvanex
