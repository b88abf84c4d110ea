#include "image/snapshot_names.h"

#include <ctime>

namespace morvanex {

LocalTime currentLocalTime() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec};
}

std::string snapshotFileName(const LocalTime& time) {
    std::string name = "ink";
    for (int part : {time.year, time.month, time.day, time.hour, time.minute, time.second})
        name += std::to_string(part);
    return name + ".bmp";
}

}  // namespace morvanex
