#include "core/places.hpp"

#include "core/message_text.hpp"
#include "core/program_folder.hpp"

#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <optional>

namespace vantora {
namespace {

/// Ends every folded name in the key text; folding never produces it, so no match spans two names.
constexpr char kKeyEnd = '\n';

/// Coordinates in the data file are whole numbers of this many units per degree.
constexpr double kUnitsPerDegree = 1e8;

constexpr std::string_view kMagic = "VPLC";
constexpr unsigned char kVersion = 1;
/// Magic, version and the payload length (32 bits, little-endian) before the zlib stream.
constexpr std::size_t kHeaderBytes = 9;
/// A payload larger than this is not a place file; it stops a damaged length from allocating.
constexpr std::uint32_t kMaxPayloadBytes = 256u << 20;
constexpr std::string_view kFileName = "places.bin";

constexpr std::string_view kKe = "\xE3\x82\xB1"; // ケ U+30B1

/// The three bytes of a UTF-8 character U+0800..U+FFFF at text[pos], or nullopt.
std::optional<char32_t> three_byte_char(std::string_view text, std::size_t pos) {
    if (pos + 3 > text.size()) return std::nullopt;
    const auto b0 = static_cast<unsigned char>(text[pos]);
    const auto b1 = static_cast<unsigned char>(text[pos + 1]);
    const auto b2 = static_cast<unsigned char>(text[pos + 2]);
    if ((b0 & 0xF0) != 0xE0 || (b1 & 0xC0) != 0x80 || (b2 & 0xC0) != 0x80) return std::nullopt;
    return static_cast<char32_t>(((b0 & 0x0F) << 12) | ((b1 & 0x3F) << 6) | (b2 & 0x3F));
}

/// Reads the data file's pieces in order; the first shortfall sets failed().
class PayloadReader {
public:
    explicit PayloadReader(std::string_view bytes)
        : bytes_(bytes) {}

    bool failed() const { return failed_; }

    /// An unsigned LEB128 number of at most 64 bits.
    std::uint64_t number() {
        std::uint64_t value = 0;
        for (int shift = 0; shift < 64 && pos_ < bytes_.size(); shift += 7) {
            const auto byte = static_cast<unsigned char>(bytes_[pos_++]);
            value |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
            if ((byte & 0x80) == 0) return value;
        }
        failed_ = true;
        return 0;
    }

    /// A count that cannot exceed the bytes left (every counted item takes at least one byte).
    std::size_t count() {
        const auto value = number();
        if (value > bytes_.size() - pos_) failed_ = true;
        return failed_ ? 0 : static_cast<std::size_t>(value);
    }

    std::string_view text() {
        const auto length = count();
        const auto piece = bytes_.substr(pos_, length);
        pos_ += length;
        return piece;
    }

    /// The next value of a column of zigzag-coded differences, running total in `previous`.
    double coordinate(std::int64_t& previous) {
        const auto zigzag = number();
        const auto step = static_cast<std::int64_t>(zigzag >> 1) ^ -static_cast<std::int64_t>(zigzag & 1);
        previous += step;
        return static_cast<double>(previous) / kUnitsPerDegree;
    }

    bool at_end() const { return pos_ == bytes_.size(); }

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
    bool failed_ = false;
};

PlaceDataError data_error(std::string_view problem) {
    return {std::string(kFileName) + ": " + std::string(problem)};
}

/// The zlib payload after the header, inflated.
PlaceResult<std::string> inflate_payload(std::string_view bytes) {
    if (bytes.size() < kHeaderBytes || bytes.substr(0, kMagic.size()) != kMagic) {
        return data_error("地名データの形式ではありません");
    }
    if (static_cast<unsigned char>(bytes[4]) != kVersion) return data_error("版が違います");
    std::uint32_t length = 0;
    for (int k = 3; k >= 0; --k) length = (length << 8) | static_cast<unsigned char>(bytes[5 + k]);
    if (length > kMaxPayloadBytes) return data_error("壊れています（長さ）");
    std::string payload(length, '\0');
    auto inflated = static_cast<uLongf>(length);
    const auto source = bytes.substr(kHeaderBytes);
    const int status = uncompress(reinterpret_cast<Bytef*>(payload.data()), &inflated,
                                  reinterpret_cast<const Bytef*>(source.data()), source.size());
    if (status != Z_OK || inflated != length) return data_error("壊れています（圧縮データ）");
    return payload;
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

namespace {

/// Appends text folded (see fold_place_text) to out.
void append_folded(std::string& out, std::string_view text) {
    // Only blanks, controls and characters led by C2, E3 or EF can fold; runs of others are copied.
    const auto plain = [](unsigned char b) {
        return b > 0x20 && b != 0x7F && b != 0xC2 && b != 0xE3 && b != 0xEF;
    };
    for (std::size_t pos = 0; pos < text.size();) {
        std::size_t run = pos;
        while (run < text.size() && plain(static_cast<unsigned char>(text[run]))) ++run;
        out.append(text.substr(pos, run - pos));
        pos = run;
        if (pos == text.size()) return;
        const auto byte = static_cast<unsigned char>(text[pos]);
        if (byte <= 0x20 || byte == 0x7F) { // ASCII blank or control character
            ++pos;
            continue;
        }
        if (byte == 0xC2 && pos + 1 < text.size() && static_cast<unsigned char>(text[pos + 1]) == 0xA0) {
            pos += 2; // no-break space
            continue;
        }
        if (const auto c = three_byte_char(text, pos)) {
            if (*c == U'\u3000') {
                // ideographic space: dropped
            } else if (*c >= U'\uFF10' && *c <= U'\uFF19') {
                out.push_back(static_cast<char>('0' + (*c - U'\uFF10')));
            } else if (*c >= U'\uFF21' && *c <= U'\uFF3A') {
                out.push_back(static_cast<char>('A' + (*c - U'\uFF21')));
            } else if (*c >= U'\uFF41' && *c <= U'\uFF5A') {
                out.push_back(static_cast<char>('a' + (*c - U'\uFF41')));
            } else if (*c == U'\u30F6' || *c == U'\u304C') { // ヶ, が
                out.append(kKe);
            } else {
                out.append(text.substr(pos, 3));
            }
            pos += 3;
            continue;
        }
        out.push_back(text[pos++]);
    }
}

} // namespace

std::string fold_place_text(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    append_folded(out, text);
    return out;
}

void PlaceIndex::reserve(std::size_t places, std::size_t name_bytes) {
    names_.reserve(name_bytes);
    keys_.reserve(name_bytes + places);
    name_start_.reserve(places + 1);
    key_start_.reserve(places + 1);
    prefecture_.reserve(places);
    points_.reserve(places);
}

void PlaceIndex::add_municipality(std::string_view prefecture, std::string_view municipality,
                                  GeoPoint point) {
    municipality_name_.assign(prefecture).append(municipality);
    municipality_key_.clear();
    append_folded(municipality_key_, prefecture);
    prefecture_key_bytes_ = std::min<std::size_t>(municipality_key_.size(), 255);
    append_folded(municipality_key_, municipality);
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
    append_folded(keys_, town);
    keys_.push_back(kKeyEnd);
    key_start_.push_back(static_cast<std::uint32_t>(keys_.size()));
    prefecture_.push_back(static_cast<std::uint8_t>(prefecture_key_bytes_));
    points_.push_back(point);
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
        while (key_start_[id + 1] <= at) ++id; // hits only move forward
        const std::string_view key(base + key_start_[id], key_start_[id + 1] - key_start_[id] - 1);
        const auto short_key = key.substr(prefecture_[id]);
        Fit fit = Fit::contains;
        if (key == folded || short_key == folded) {
            fit = Fit::exact;
        } else if (key.starts_with(folded) || short_key.starts_with(folded)) {
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
    std::vector<Id> exact;
    std::vector<Id> others[2]; // prefix, contains: the first max_candidates of each
    std::size_t count = 0;
    scan(fold_place_text(typed), [&](Id id, Fit fit) {
        ++count;
        if (fit == Fit::exact) {
            exact.push_back(id);
        } else {
            auto& group = others[fit == Fit::prefix ? 0 : 1];
            if (group.size() < max_candidates) group.push_back(id);
        }
    });
    if (exact.size() > 1) {
        // Names that differ only in folded characters (蓮ヶ谷町 and 蓮ケ谷町): the one spelled as typed wins.
        const auto spelled = without_blanks(typed);
        const auto literal = [&](Id id) { return name(id).ends_with(spelled); };
        if (std::count_if(exact.begin(), exact.end(), literal) == 1) {
            return {PlaceMatch::Kind::found, {*std::find_if(exact.begin(), exact.end(), literal)}, 1};
        }
    }
    if (exact.size() == 1) return {PlaceMatch::Kind::found, exact, 1};
    if (!exact.empty()) {
        const auto total = exact.size();
        exact.resize(std::min(total, max_candidates));
        return {PlaceMatch::Kind::ambiguous, exact, total};
    }
    if (count == 0) return {};
    std::vector<Id> candidates = others[0];
    candidates.insert(candidates.end(), others[1].begin(), others[1].end());
    if (count == 1) return {PlaceMatch::Kind::found, candidates, 1};
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

PlaceResult<PlaceIndex> parse_places(std::string_view bytes) {
    auto inflated = inflate_payload(bytes);
    if (auto* error = std::get_if<PlaceDataError>(&inflated)) return std::move(*error);
    PayloadReader in(std::get<std::string>(inflated));

    std::vector<std::string_view> prefectures(in.count());
    for (auto& prefecture : prefectures) prefecture = in.text();
    struct Municipality {
        std::size_t prefecture;
        std::string_view name;
        std::size_t towns;
    };
    std::vector<Municipality> municipalities(in.count());
    std::size_t town_total = 0;
    for (auto& municipality : municipalities) {
        municipality = {in.count(), in.text(), in.count()};
        if (municipality.prefecture >= prefectures.size()) return data_error("壊れています（都道府県）");
        town_total += municipality.towns;
    }
    std::vector<std::string_view> towns(in.count());
    if (towns.size() != town_total) return data_error("壊れています（町字の数）");
    for (auto& town : towns) town = in.text();
    std::vector<GeoPoint> points(municipalities.size() + towns.size());
    std::int64_t running = 0;
    for (auto& point : points) point.lon = in.coordinate(running);
    running = 0;
    for (auto& point : points) point.lat = in.coordinate(running);
    if (in.failed() || !in.at_end()) return data_error("壊れています（長さが合いません）");

    std::size_t name_bytes = 0;
    for (const auto& municipality : municipalities) {
        name_bytes += (prefectures[municipality.prefecture].size() + municipality.name.size()) *
                      (municipality.towns + 1);
    }
    for (const auto town : towns) name_bytes += town.size();
    PlaceIndex index;
    index.reserve(points.size(), name_bytes);
    auto town = towns.begin();
    auto town_point = points.begin() + static_cast<std::ptrdiff_t>(municipalities.size());
    for (std::size_t m = 0; m < municipalities.size(); ++m) {
        const auto& municipality = municipalities[m];
        index.add_municipality(prefectures[municipality.prefecture], municipality.name, points[m]);
        for (std::size_t k = 0; k < municipality.towns; ++k) index.add_town(*town++, *town_point++);
    }
    return index;
}

PlaceResult<PlaceIndex> load_places(const std::filesystem::path& file) {
    errno = 0;
    std::ifstream in(file, std::ios::binary);
    std::error_code ignored;
    const int reason = std::filesystem::is_directory(file, ignored) ? EISDIR
                       : !in                                        ? (errno ? errno : ENOENT)
                                                                    : 0;
    if (reason)
        return data_error("開けません（" + system_error_text(reason) + ": " + printable_text(file.string()) +
                          "）");
    std::string bytes;
    std::error_code error;
    const auto size = std::filesystem::file_size(file, error);
    if (error || size > kMaxPayloadBytes) return data_error("読めません（" + file.string() + "）");
    bytes.resize(static_cast<std::size_t>(size));
    if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
        return data_error("読めません（" + file.string() + "）");
    }
    return parse_places(bytes);
}

const PlaceResult<PlaceIndex>& shared_places() {
    static const PlaceResult<PlaceIndex> places = load_places(data_folder() / kFileName);
    return places;
}

} // namespace vantora
