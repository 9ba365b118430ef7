// Places of Japan by name: every municipality and every town in it, with one point each, and
// the matching of a name as a person types it.
//
// A place's name is prefecture + municipality (+ town), e.g. "京都府綾部市" or
// "京都府綾部市本町一丁目". A typed name is compared with the names after folding both
// (core/place_text.hpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vantora {

/// A point on the ground: longitude in degrees east, latitude in degrees north.
struct GeoPoint {
    double lon = 0.0;
    double lat = 0.0;
    friend bool operator==(const GeoPoint&, const GeoPoint&) = default;
};

/// The outcome of matching a typed name.
struct PlaceMatch {
    enum class Kind { found, ambiguous, not_found };
    Kind kind = Kind::not_found;
    /// found: the one place; ambiguous: the first candidates (at most the number asked for).
    std::vector<std::uint32_t> places;
    /// How many places matched (1 when found, 0 when not found).
    std::size_t count = 0;
};

/// The places with their folded names, searchable by whole name (through a hash table), by prefix
/// and by substring (a scan of all names, on whole characters).
class PlaceIndex {
public:
    using Id = std::uint32_t;

    /// Makes room for `places` places whose full names take name_bytes in all (an estimate
    /// spares copying while a large index is built).
    void reserve(std::size_t places, std::size_t name_bytes);

    /// Appends a municipality (a place of its own); the towns added next belong to it.
    void add_municipality(std::string_view prefecture, std::string_view municipality, GeoPoint point);

    /// Appends a town of the municipality added last. Does nothing before the first municipality.
    void add_town(std::string_view town, GeoPoint point);

    /// Number of places (municipalities and towns); ids run from 0 to size() − 1 in the order added.
    std::size_t size() const { return points_.size(); }

    /// Full name of place id (< size()): prefecture + municipality + town, as given.
    std::string_view name(Id id) const;

    /// Point of place id (< size()).
    GeoPoint point(Id id) const { return points_[id]; }

    /// Matches a typed name against every place's full name and its name without the prefecture.
    /// An exact match wins (several exact ones: the one spelled exactly as typed, blanks aside,
    /// otherwise an ambiguity among them); otherwise a single place containing the typed text is
    /// found; several are an ambiguity listing the first max_candidates of them in completion
    /// order; none, or a text that folds to nothing, is not found.
    PlaceMatch match(std::string_view typed, std::size_t max_candidates = 5) const;

    /// The first `limit` places whose name contains the typed text, best first: exact matches,
    /// then names starting with it (with or without the prefecture), then the rest, each group
    /// in the order added. Empty for a text that folds to nothing.
    std::vector<Id> complete(std::string_view typed, std::size_t limit) const;

    /// The user's sentence for a match that found nothing or too much: "見つかりません", or
    /// "候補が N 件あります：A、B、C、…" with the candidates of the match (without the colon and
    /// the list when the match holds none).
    std::string failure_text(const PlaceMatch& match) const;

private:
    enum class Fit { exact, prefix, contains };
    /// Calls visit(id, fit) for every place whose folded name contains folded as whole characters
    /// (no hit begins or ends inside a UTF-8 sequence), in id order.
    template <class Visit> void scan(std::string_view folded, Visit&& visit) const;

    /// The places whose folded name, with or without the prefecture, is folded; in id order.
    std::vector<Id> exact_places(std::string_view folded) const;

    /// Appends the municipality added last with town after its name (an empty town: itself).
    void add_place(std::string_view town, GeoPoint point);

    /// The folded name of place id, without its end mark.
    std::string_view key(Id id) const;
    /// The name an entry of the exact-name table stands for: id·2 the whole folded name, id·2 + 1
    /// the folded name without the prefecture.
    std::string_view entry_key(std::uint32_t entry) const;
    /// Enters an entry into the exact-name table, growing it to keep it at most half full.
    void add_exact(std::uint32_t entry);
    /// Rebuilds the exact-name table with `slots` slots (a power of two) and the same entries.
    void resize_exact(std::size_t slots);

    std::string names_;                     ///< the full names, one after the other
    std::vector<std::uint32_t> name_start_; ///< where each name starts in names_; one more at the end
    std::string keys_;                      ///< the folded names, each ended by '\n'
    std::vector<std::uint32_t> key_start_;  ///< where each key starts in keys_; one more at the end
    std::vector<std::uint8_t> prefecture_;  ///< bytes of each key taken by the folded prefecture
    std::vector<GeoPoint> points_;
    std::vector<std::uint32_t> exact_slots_; ///< open addressing by entry_key's hash; free: ~0
    std::size_t exact_entries_ = 0;
    std::string municipality_name_;        ///< prefecture + municipality added last
    std::string municipality_key_;         ///< the same folded
    std::size_t prefecture_key_bytes_ = 0; ///< bytes of municipality_key_ taken by the prefecture
};

} // namespace vantora
