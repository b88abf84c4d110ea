// What an import skipped or changed, for the person who loses it.
//
// Each kind of event is one line with a count, in the order first met:
// "faces with an index outside its list, skipped: 3". Free notes (the unit
// conversion, a missing file's name) are lines of their own. An entry is
// either a change the import makes to fit the scene (triangulated polygons,
// a unit scaled) or damage: something the file holds that could not be
// read and was dropped or cut (an index outside its list, a cut chunk).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace morvanex {

class ImportReport {
public:
    // Counts one more (or `count` more) of an event described by `what`.
    void count(std::string_view what, std::size_t count = 1);
    // The same for damage.
    void damage(std::string_view what, std::size_t count = 1);
    // A line of its own, listed once however often it is noted.
    void note(std::string line);
    void damageNote(std::string line);
    // Takes every entry of another report (a part of the file read apart).
    void merge(const ImportReport& other);

    std::size_t countOf(std::string_view what) const;
    bool empty() const { return entries_.empty(); }
    // True when some entry is damage.
    bool damaged() const;
    // The report as shown: one line per entry.
    std::vector<std::string> lines() const;

    struct Entry {
        std::string what;
        std::size_t count = 0;  // 0 for a plain note
        bool damage = false;
    };
    const std::vector<Entry>& entries() const { return entries_; }

private:
    void add(std::string_view what, std::size_t count, bool damage);
    Entry* find(std::string_view what);
    const Entry* find(std::string_view what) const;

    std::vector<Entry> entries_;
};

}  // namespace morvanex
