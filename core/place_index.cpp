#include "core/place_index.hpp"

#include "core/place_text.hpp"

#include <algorithm>
#include <cstring>
#include <functional>

namespace vantora {
namespace {

/// Ends every folded name in the key text; folding never produces it, so no match spans two names.
constexpr char kKeyEnd = '\n';

/// A free slot of the exact-name table.
constexpr std::uint32_t kNoEntry = ~std::uint32_t{0};

/// Whether the byte continues a UTF-8 sequence (10xxxxxx): no character begins there.
bool continues_character(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

/// The text without ASCII blanks and ideographic spaces.
std::string without_blanks(std::string_view text) {
    std::string out;
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        if (text[pos] == ' ' || text[pos] == '\t') continue;
        if (text.substr(pos, 3) == "\xE3\x80\x80") {
            pos += 2;
            continue;
        }
        out.push_back(text[pos]);
    }
    return out;
}

} // namespace

void PlaceIndex::reserve(std::size_t places, std::size_t name_bytes) {
    names_.reserve(name_bytes);
    keys_.reserve(name_bytes + places);
    name_start_.reserve(places + 1);
    key_start_.reserve(places + 1);
    prefecture_.reserve(places);
    points_.reserve(places);
    std::size_t slots = 16;
    while (slots < 4 * places) slots *= 2; // two entries a place, half full
    if (slots > exact_slots_.size()) resize_exact(slots);
}

void PlaceIndex::add_municipality(std::string_view prefecture, std::string_view municipality,
                                  GeoPoint point) {
    municipality_name_.assign(prefecture).append(municipality);
    municipality_key_.clear();
    append_folded_place_text(municipality_key_, prefecture);
    prefecture_key_bytes_ = std::min<std::size_t>(municipality_key_.size(), 255);
    append_folded_place_text(municipality_key_, municipality);
    add_place({}, point);
}

void PlaceIndex::add_town(std::string_view town, GeoPoint point) {
    if (!municipality_name_.empty()) add_place(town, point);
}

void PlaceIndex::add_place(std::string_view town, GeoPoint point) {
    if (name_start_.empty()) name_start_.push_back(0), key_start_.push_back(0);
    names_.append(municipality_name_).append(town);
    name_start_.push_back(static_cast<std::uint32_t>(names_.size()));
    keys_.append(municipality_key_);
    append_folded_place_text(keys_, town);
    keys_.push_back(kKeyEnd);
    key_start_.push_back(static_cast<std::uint32_t>(keys_.size()));
    prefecture_.push_back(static_cast<std::uint8_t>(prefecture_key_bytes_));
    points_.push_back(point);
    const auto id = static_cast<std::uint32_t>(points_.size() - 1);
    add_exact(2 * id);
    if (prefecture_key_bytes_ > 0) add_exact(2 * id + 1);
}

std::string_view PlaceIndex::key(Id id) const {
    return std::string_view(keys_).substr(key_start_[id], key_start_[id + 1] - key_start_[id] - 1);
}

std::string_view PlaceIndex::entry_key(std::uint32_t entry) const {
    const Id id = entry / 2;
    return key(id).substr(entry % 2 == 0 ? 0 : prefecture_[id]);
}

void PlaceIndex::add_exact(std::uint32_t entry) {
    if (2 * (exact_entries_ + 1) > exact_slots_.size())
        resize_exact(std::max<std::size_t>(16, 2 * exact_slots_.size()));
    const std::size_t mask = exact_slots_.size() - 1;
    std::size_t slot = std::hash<std::string_view>{}(entry_key(entry)) & mask;
    while (exact_slots_[slot] != kNoEntry) slot = (slot + 1) & mask;
    exact_slots_[slot] = entry;
    ++exact_entries_;
}

void PlaceIndex::resize_exact(std::size_t slots) {
    std::vector<std::uint32_t> entries;
    entries.reserve(exact_entries_);
    for (const auto entry : exact_slots_) {
        if (entry != kNoEntry) entries.push_back(entry);
    }
    exact_slots_.assign(slots, kNoEntry);
    exact_entries_ = 0;
    for (const auto entry : entries) add_exact(entry);
}

std::vector<PlaceIndex::Id> PlaceIndex::exact_places(std::string_view folded) const {
    std::vector<Id> found;
    if (folded.empty() || exact_slots_.empty()) return found;
    const std::size_t mask = exact_slots_.size() - 1;
    for (std::size_t slot = std::hash<std::string_view>{}(folded)&mask; exact_slots_[slot] != kNoEntry;
         slot = (slot + 1) & mask) {
        if (entry_key(exact_slots_[slot]) == folded) found.push_back(exact_slots_[slot] / 2);
    }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    return found;
}

std::string_view PlaceIndex::name(Id id) const {
    return std::string_view(names_).substr(name_start_[id], name_start_[id + 1] - name_start_[id]);
}

template <class Visit> void PlaceIndex::scan(std::string_view folded, Visit&& visit) const {
    if (folded.empty()) return;
    const char* const base = keys_.data();
    Id id = 0;
    for (std::size_t from = 0; from < keys_.size();) {
        const void* hit = memmem(base + from, keys_.size() - from, folded.data(), folded.size());
        if (hit == nullptr) return;
        const auto at = static_cast<std::size_t>(static_cast<const char*>(hit) - base);
        // A hit inside a character (typed bytes that are not whole UTF-8) is no match; the text
        // never ends inside the hit's character since every key ends with kKeyEnd.
        if (continues_character(base[at]) || continues_character(base[at + folded.size()])) {
            from = at + 1;
            continue;
        }
        while (key_start_[id + 1] <= at) ++id; // hits only move forward
        const std::string_view whole = key(id);
        const auto short_key = whole.substr(prefecture_[id]);
        Fit fit = Fit::contains;
        if (whole == folded || short_key == folded) {
            fit = Fit::exact;
        } else if (whole.starts_with(folded) || short_key.starts_with(folded)) {
            fit = Fit::prefix;
        }
        visit(id, fit);
        from = key_start_[id + 1];
    }
}

std::vector<PlaceIndex::Id> PlaceIndex::complete(std::string_view typed, std::size_t limit) const {
    std::vector<Id> groups[3]; // exact, prefix, contains
    scan(fold_place_text(typed), [&](Id id, Fit fit) {
        auto& group = groups[static_cast<int>(fit)];
        if (group.size() < limit) group.push_back(id);
    });
    std::vector<Id> out;
    for (const auto& group : groups) {
        const auto take = std::min(group.size(), limit - out.size());
        out.insert(out.end(), group.begin(), group.begin() + static_cast<std::ptrdiff_t>(take));
    }
    return out;
}

PlaceMatch PlaceIndex::match(std::string_view typed, std::size_t max_candidates) const {
    const auto folded = fold_place_text(typed);
    if (auto exact = exact_places(folded); !exact.empty()) {
        if (exact.size() > 1) {
            // Names that differ only in folded characters (蓮ヶ谷町 and 蓮ケ谷町): the one spelled as typed
            // wins.
            const auto spelled = without_blanks(typed);
            const auto literal = [&](Id id) { return name(id).ends_with(spelled); };
            if (std::count_if(exact.begin(), exact.end(), literal) == 1) {
                return {PlaceMatch::Kind::found, {*std::find_if(exact.begin(), exact.end(), literal)}, 1};
            }
        }
        if (exact.size() == 1) return {PlaceMatch::Kind::found, exact, 1};
        const auto total = exact.size();
        exact.resize(std::min(total, max_candidates));
        return {PlaceMatch::Kind::ambiguous, exact, total};
    }
    std::vector<Id> groups[2]; // prefix, contains: the first max_candidates of each
    std::size_t count = 0;
    Id first = 0;
    scan(folded, [&](Id id, Fit fit) {
        if (count++ == 0) first = id;
        auto& group = groups[fit == Fit::contains ? 1 : 0];
        if (group.size() < max_candidates) group.push_back(id);
    });
    if (count == 0) return {};
    // The one place is the match however few candidates were asked for.
    if (count == 1) return {PlaceMatch::Kind::found, {first}, 1};
    std::vector<Id> candidates = groups[0];
    candidates.insert(candidates.end(), groups[1].begin(), groups[1].end());
    candidates.resize(std::min(candidates.size(), max_candidates));
    return {PlaceMatch::Kind::ambiguous, candidates, count};
}

std::string PlaceIndex::failure_text(const PlaceMatch& match) const {
    if (match.kind != PlaceMatch::Kind::ambiguous) return "見つかりません";
    std::string text = "候補が " + std::to_string(match.count) + " 件あります";
    for (std::size_t k = 0; k < match.places.size(); ++k) {
        text += k == 0 ? "：" : "、";
        text += name(match.places[k]);
    }
    if (!match.places.empty() && match.count > match.places.size()) text += "、…";
    return text;
}

} // namespace vantora
