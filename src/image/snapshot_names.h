// File names of viewpoint snapshots, made from the local time.
#pragma once

#include <string>

namespace morvanex {

struct LocalTime {
    int year = 0;
    int month = 0;   // 1 to 12
    int day = 0;     // 1 to 31
    int hour = 0;    // 0 to 23
    int minute = 0;
    int second = 0;
};

LocalTime currentLocalTime();

// "ink" + year, month, day, hour, minute and second as plain decimal
// numbers, no separators and no leading zeros, + ".bmp":
// 9:05:07 on 8 December 2026 is "ink2026128957.bmp". (Different times can
// share a name; the program has always named them so.)
std::string snapshotFileName(const LocalTime& time);

}  // namespace morvanex
