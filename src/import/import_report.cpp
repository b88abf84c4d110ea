#include "import/import_report.h"

#include <utility>

namespace morvanex {

ImportReport::Entry* ImportReport::find(std::string_view what) {
    for (Entry& e : entries_) {
        if (e.what == what) return &e;
    }
    return nullptr;
}

const ImportReport::Entry* ImportReport::find(std::string_view what) const {
    for (const Entry& e : entries_) {
        if (e.what == what) return &e;
    }
    return nullptr;
}

void ImportReport::add(std::string_view what, std::size_t count, bool damage) {
    if (Entry* e = find(what)) {
        e->count += count;
        e->damage = e->damage || damage;
        return;
    }
    entries_.push_back({std::string(what), count, damage});
}

void ImportReport::count(std::string_view what, std::size_t count) {
    if (count != 0) add(what, count, false);
}

void ImportReport::damage(std::string_view what, std::size_t count) {
    if (count != 0) add(what, count, true);
}

void ImportReport::note(std::string line) { add(line, 0, false); }

void ImportReport::damageNote(std::string line) { add(line, 0, true); }

void ImportReport::merge(const ImportReport& other) {
    for (const Entry& e : other.entries_) add(e.what, e.count, e.damage);
}

bool ImportReport::damaged() const {
    for (const Entry& e : entries_) {
        if (e.damage) return true;
    }
    return false;
}

std::size_t ImportReport::countOf(std::string_view what) const {
    const Entry* e = find(what);
    return e == nullptr ? 0 : (e->count == 0 ? 1 : e->count);
}

std::vector<std::string> ImportReport::lines() const {
    std::vector<std::string> out;
    out.reserve(entries_.size());
    for (const Entry& e : entries_) {
        out.push_back(e.count == 0 ? e.what : e.what + ": " + std::to_string(e.count));
    }
    return out;
}

}  // namespace morvanex
