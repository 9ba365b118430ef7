#include "core/places.hpp"

#include "core/message_text.hpp"
#include "core/program_folder.hpp"

#include <zlib.h>

#include <cerrno>
#include <fstream>

namespace vantora {
namespace {

/// Coordinates in the data file are whole numbers of this many units per degree.
constexpr double kUnitsPerDegree = 1e8;

constexpr std::string_view kMagic = "VPLC";
constexpr unsigned char kVersion = 1;
/// Magic, version and the payload length (32 bits, little-endian) before the zlib stream.
constexpr std::size_t kHeaderBytes = 9;
/// A payload larger than this is not a place file (the shipped one inflates to 4.4 MB); it stops a
/// damaged length from allocating.
constexpr std::uint32_t kMaxPayloadBytes = 64u << 20;
/// Deflate never inflates one byte to more than 1032: a larger claimed payload is damage.
constexpr std::size_t kMaxInflateRatio = 1032;
/// The full names (a municipality's name is repeated in each of its towns) take 1.6 bytes per
/// payload byte in the shipped file; more than this many means crafted names, not places.
constexpr std::size_t kMaxNameBytesPerPayloadByte = 8;
constexpr std::string_view kFileName = "places.bin";

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
    const auto source = bytes.substr(kHeaderBytes);
    if (length > kMaxPayloadBytes || length > source.size() * kMaxInflateRatio) {
        return data_error("壊れています（長さ）");
    }
    std::string payload(length, '\0');
    auto inflated = static_cast<uLongf>(length);
    const int status = uncompress(reinterpret_cast<Bytef*>(payload.data()), &inflated,
                                  reinterpret_cast<const Bytef*>(source.data()), source.size());
    if (status != Z_OK || inflated != length) return data_error("壊れています（圧縮データ）");
    return payload;
}

} // namespace

PlaceResult<PlaceIndex> parse_places(std::string_view bytes) {
    auto inflated = inflate_payload(bytes);
    if (auto* error = std::get_if<PlaceDataError>(&inflated)) return std::move(*error);
    const std::string& payload = std::get<std::string>(inflated);
    PayloadReader in(payload);

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
    if (name_bytes > payload.size() * kMaxNameBytesPerPayloadByte)
        return data_error("壊れています（名前の長さ）");
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
    const auto cannot_open = [&file](const std::string& why) {
        return data_error("開けません（" + why + ": " + printable_text(file.string()) + "）");
    };
    // A FIFO or a device would block the open or the read, or pour out bytes without end.
    std::error_code error;
    const auto status = std::filesystem::status(file, error);
    if (status.type() == std::filesystem::file_type::not_found) return cannot_open(system_error_text(ENOENT));
    if (status.type() == std::filesystem::file_type::directory) return cannot_open(system_error_text(EISDIR));
    if (error) return cannot_open(system_error_text(error.value()));
    if (status.type() != std::filesystem::file_type::regular)
        return cannot_open("通常のファイルではありません");
    errno = 0;
    std::ifstream in(file, std::ios::binary);
    if (!in) return cannot_open(system_error_text(errno ? errno : ENOENT));
    const auto size = std::filesystem::file_size(file, error);
    if (error || size > kMaxPayloadBytes)
        return data_error("読めません（" + printable_text(file.string()) + "）");
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
        return data_error("読めません（" + printable_text(file.string()) + "）");
    }
    return parse_places(bytes);
}

const PlaceResult<PlaceIndex>& shared_places() {
    static const PlaceResult<PlaceIndex> places = load_places(data_folder() / kFileName);
    return places;
}

} // namespace vantora
