// Places by name: folding, matching and completion on a small index, and the shipped data file.
#include "core/place_text.hpp"
#include "core/places.hpp"

#include "chart/compute_chart.hpp"
#include "chart/time_difference.hpp"

#include "test_tables.hpp"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <fstream>
#include <iterator>
#include <set>

namespace vantora {
namespace {

/// Three prefectures, two municipalities of one name, names with ヶ/ケ/が and Latin letters.
PlaceIndex small_index() {
    PlaceIndex index;
    index.add_municipality("京都府", "綾部市", {135.25, 35.30});
    index.add_town("本町一丁目", {135.260471, 35.297512});
    index.add_town("本町二丁目", {135.258907, 35.297652});
    index.add_town("幸通り", {135.2508595, 35.300971});
    index.add_municipality("京都府", "京都市北区", {135.74, 35.05});
    index.add_town("大北山蓮ヶ谷町", {135.71, 35.04});
    index.add_town("大北山蓮ケ谷町", {135.72, 35.05});
    index.add_municipality("東京都", "府中市", {139.47, 35.67});
    index.add_town("本町一丁目", {139.48, 35.67});
    index.add_municipality("広島県", "府中市", {133.23, 34.56});
    index.add_municipality("北海道", "北広島市", {141.56, 42.98});
    index.add_town("Fビレッジ", {141.55, 42.99});
    index.add_town("自由が丘", {141.57, 42.97});
    index.add_municipality("東京都", "小笠原村", {142.19, 27.09});
    index.add_town("南鳥島", {153.980589, 24.28917});
    return index;
}

TEST(PlaceText, FoldsBlanksWidthsAndKe) {
    struct Case {
        const char* typed;
        const char* folded;
    };
    const Case cases[] = {
        {" 綾部市\u3000本町 一丁目\t", "綾部市本町一丁目"},
        {"\uFF26\uFF42\uFF10\uFF19", "Fb09"},                 // full-width Latin and digits
        {"旭ヶ丘・旭ケ丘・旭が丘", "旭ケ丘・旭ケ丘・旭ケ丘"}, // ヶ, ケ, が alike
        {"ガ\u00A0ぱ", "ガぱ"},                               // other kana kept; no-break space dropped
        {"\xE3\x82", "\xE3\x82"},                             // a cut UTF-8 sequence is kept as it is
    };
    for (const auto& c : cases) EXPECT_EQ(fold_place_text(c.typed), c.folded) << c.typed;
}

TEST(PlaceMatch, FindsOnePlaceOrSaysWhyNot) {
    const auto index = small_index();
    struct Case {
        const char* typed;
        PlaceMatch::Kind kind;
        const char* first; ///< the found place or the first candidate
        std::size_t count;
    };
    using K = PlaceMatch::Kind;
    const Case cases[] = {
        {"京都府綾部市本町一丁目", K::found, "京都府綾部市本町一丁目", 1}, // exact, full name
        {"綾部市本町一丁目", K::found, "京都府綾部市本町一丁目", 1},       // without the prefecture
        {"綾部市 本町　一丁目", K::found, "京都府綾部市本町一丁目", 1},    // blanks ignored
        {"京都府綾部市", K::found, "京都府綾部市", 1},                     // exact beats its towns
        {"幸通", K::found, "京都府綾部市幸通り", 1},                       // the only place containing it
        {"南鳥島", K::found, "東京都小笠原村南鳥島", 1},                   // a unique match
        {"北広島市Ｆビレッジ", K::found, "北海道北広島市Fビレッジ", 1},    // full-width letter
        {"自由ケ丘", K::found, "北海道北広島市自由が丘", 1},               // ケ for が
        {"自由ヶ丘", K::found, "北海道北広島市自由が丘", 1},               // ヶ for が
        {"京都市北区大北山蓮ケ谷町", K::found, "京都府京都市北区大北山蓮ケ谷町", 1}, // spelled as typed wins
        {"京都市北区大北山蓮ヶ谷町", K::found, "京都府京都市北区大北山蓮ヶ谷町", 1},
        {"京都市北区 大北山蓮ケ谷町", K::found, "京都府京都市北区大北山蓮ケ谷町", 1},    // blanks aside
        {"京都市北区大北山蓮が谷町", K::ambiguous, "京都府京都市北区大北山蓮ヶ谷町", 2}, // both fold alike
        {"府中市", K::ambiguous, "東京都府中市", 2}, // two exact, no prefecture
        {"本町一丁目", K::ambiguous, "京都府綾部市本町一丁目", 2},
        {"本町", K::ambiguous, "京都府綾部市本町一丁目", 3},
        {"綾部市本町三丁目", K::not_found, nullptr, 0},
        {"  ", K::not_found, nullptr, 0},
        {"\xE3", K::not_found, nullptr, 0},     // the first byte of many kana and kanji
        {"\x82\xB1", K::not_found, nullptr, 0}, // the last two bytes of ケ
    };
    for (const auto& c : cases) {
        const auto match = index.match(c.typed);
        EXPECT_EQ(match.kind, c.kind) << c.typed;
        EXPECT_EQ(match.count, c.count) << c.typed;
        if (c.first == nullptr) {
            EXPECT_TRUE(match.places.empty()) << c.typed;
            EXPECT_EQ(index.failure_text(match), "見つかりません");
        } else {
            ASSERT_FALSE(match.places.empty()) << c.typed;
            EXPECT_EQ(index.name(match.places.front()), c.first) << c.typed;
        }
        // Asking for no candidates (the map's note shows only the count) changes no outcome.
        const auto bare = index.match(c.typed, 0);
        EXPECT_EQ(bare.count, c.count) << c.typed;
        EXPECT_EQ(bare.places, c.kind == K::found ? match.places : std::vector<PlaceIndex::Id>{}) << c.typed;
    }
}

TEST(PlaceMatch, AmbiguityListsTheFirstCandidates) {
    const auto index = small_index();
    const auto match = index.match("本町", 2);
    EXPECT_EQ(index.failure_text(match),
              "候補が 3 件あります：京都府綾部市本町一丁目、京都府綾部市本町二丁目、…");
    EXPECT_EQ(index.failure_text(index.match("本町", 0)), "候補が 3 件あります");
}

TEST(PlaceCompletion, ExactThenPrefixThenContainingInDataOrder) {
    const auto index = small_index();
    auto names = [&](std::string_view typed, std::size_t limit) {
        std::vector<std::string_view> out;
        for (const auto id : index.complete(typed, limit)) out.push_back(index.name(id));
        return out;
    };
    using Names = std::vector<std::string_view>;
    // 府中市 itself twice (exact), nothing else starts with it; 本町一丁目 of 府中市 contains it.
    EXPECT_EQ(names("府中市", 10), (Names{"東京都府中市", "広島県府中市", "東京都府中市本町一丁目"}));
    // Names starting with 京都 (prefecture 京都府) come before those that merely contain it.
    EXPECT_EQ(names("京都", 3), (Names{"京都府綾部市", "京都府綾部市本町一丁目", "京都府綾部市本町二丁目"}));
    EXPECT_EQ(names("北区", 10), (Names{"京都府京都市北区", "京都府京都市北区大北山蓮ヶ谷町",
                                        "京都府京都市北区大北山蓮ケ谷町"}));
    EXPECT_EQ(names("一丁目", 1), (Names{"京都府綾部市本町一丁目"}));
    EXPECT_TRUE(names("", 10).empty());
    EXPECT_TRUE(names("大阪", 10).empty());
    EXPECT_TRUE(names("\xE3", 10).empty());
}

std::string read_whole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const PlaceIndex& shipped() {
    static const auto loaded = load_places(VANTORA_SOURCE_DIR "/data/places.bin");
    if (const auto* error = std::get_if<PlaceDataError>(&loaded)) ADD_FAILURE() << error->message;
    return std::get<PlaceIndex>(loaded);
}

GeoPoint point_of(const PlaceIndex& index, std::string_view name) {
    const auto match = index.match(name);
    EXPECT_EQ(match.kind, PlaceMatch::Kind::found) << name << ": " << index.failure_text(match);
    return match.places.empty() ? GeoPoint{} : index.point(match.places.front());
}

TEST(PlaceData, ShippedFileHoldsTheMedianPoints) {
    const auto& index = shipped();
    EXPECT_EQ(index.size(), 1895u + 189974u); // municipalities + distinct towns with a point
    struct Case {
        const char* name;
        GeoPoint point;
    };
    const Case cases[] = {
        {"京都府綾部市本町一丁目", {135.260471, 35.297512}}, // a single row
        {"東京都小笠原村南鳥島", {153.980589, 24.28917}},
        {"京都府綾部市幸通り", {135.2508595, 35.300971}}, // two rows: the means of the pairs
        {"京都府綾部市上杉町", {135.313942, 35.354914}},  // three rows: lon of one, lat of another
        {"北海道古宇郡神恵内村", {140.400361, 43.18137}}, // three towns
        {"北海道礼文郡礼文町", {141.016631, 45.3628315}}, // two towns
    };
    for (const auto& c : cases) EXPECT_EQ(point_of(index, c.name), c.point) << c.name;
}

TEST(PlaceData, TimeDifferenceIsTheMapsDecisionOfTheFlooredSecond) {
    struct Case {
        const char* name;
        TimeDifferenceTexts decided;
        TimeDifferenceTexts unfloored; ///< what the exact longitude would give, where it differs
    };
    const Case cases[] = {
        {"京都府綾部市本町一丁目", {"1", "2"}, {"1", "2"}},                 // 135°15′37″
        {"北海道札幌市中央区北十条西十六丁目", {"25", "18"}, {"25", "19"}}, // 141°19′45.85″
        {"京都府福知山市夜久野町板生", {"-0", "14"}, {"-0", "13"}},         // 134°56′30″: −1 < v < 0
        {"東京都小笠原村南鳥島", {"75", "55"}, {"75", "55"}},               // beyond ±59 minutes
    };
    for (const auto& c : cases) {
        const double lon = point_of(shipped(), c.name).lon;
        EXPECT_EQ(decided_time_difference(lon), c.decided) << c.name;
        EXPECT_EQ(time_difference_texts(lon), c.unfloored) << c.name;
    }
}

TEST(PlaceData, EveryPlaceGivesAChartWithItsTimeDifference) {
    // Charts depend on a place only through its time difference: one chart per distinct one.
    const auto& index = shipped();
    std::set<std::pair<std::string, std::string>> offsets;
    for (PlaceIndex::Id id = 0; id < index.size(); ++id) {
        const auto texts = decided_time_difference(index.point(id).lon);
        offsets.emplace(texts.minutes, texts.seconds);
    }
    ASSERT_TRUE(offsets.contains({"75", "55"})); // Minamitorishima, the east end
    ASSERT_TRUE(offsets.contains({"-48", "3"})); // Yonaguni, the west end
    BirthRecord record;
    record.birth_year = 1975;
    record.birth_month = 3;
    record.birth_day = 8;
    record.birth_hour = 23; // late enough that +75 minutes carries into the next day
    record.birth_minute = 30;
    for (const auto& [minutes, seconds] : offsets) {
        record.offset = read_time_difference(minutes, seconds);
        const double expected = (record.offset.negative ? -1 : 1) *
                                (std::abs(record.offset.minutes) + record.offset.seconds / 60) / 1440;
        const auto chart =
            std::get<Chart>(compute_chart(record, {2026, 12, 8, 10, 0, 0}, testing::real_tables()));
        ASSERT_NEAR(chart.jisa, expected, 1e-12) << minutes << "分" << seconds << "秒";
        ASSERT_FALSE(chart.texts.hKan.empty()) << minutes << "分" << seconds << "秒";
    }
}

/// A place file as tools/make_places.py lays it out: one prefecture, one municipality named by
/// name_bytes bytes with `towns` towns named 町, every point at 0°, 0°; the header claims
/// claimed_length payload bytes, or the true length when 0.
std::string crafted_file(std::size_t name_bytes, std::size_t towns, std::uint32_t claimed_length = 0) {
    std::string payload;
    const auto number = [&payload](std::uint64_t value) {
        for (; value >= 0x80; value >>= 7) payload.push_back(static_cast<char>(0x80 | (value & 0x7F)));
        payload.push_back(static_cast<char>(value));
    };
    const auto text = [&](std::string_view name) { number(name.size()), payload.append(name); };
    number(1), text("東京都");
    number(1), number(0), text(std::string(name_bytes, 'x')), number(towns);
    number(towns);
    for (std::size_t k = 0; k < towns; ++k) text("町");
    for (std::size_t k = 0; k < 2 * (towns + 1); ++k) number(0);
    uLongf packed_size = compressBound(payload.size());
    std::string packed(packed_size, '\0');
    compress(reinterpret_cast<Bytef*>(packed.data()), &packed_size,
             reinterpret_cast<const Bytef*>(payload.data()), payload.size());
    packed.resize(packed_size);
    const std::uint32_t length = claimed_length ? claimed_length : static_cast<std::uint32_t>(payload.size());
    std::string header = "VPLC\x01";
    for (int k = 0; k < 4; ++k) header.push_back(static_cast<char>(length >> (8 * k)));
    return header + packed;
}

TEST(PlaceData, DamagedFilesGiveOneError) {
    const auto good = read_whole(VANTORA_SOURCE_DIR "/data/places.bin");
    std::string flipped = good;
    flipped[flipped.size() / 2] ^= 0x55;
    std::string longer = good;
    longer[5] = static_cast<char>(longer[5] + 1); // payload length one more than inflated
    enum class Kind { bytes, fifo, folder, missing };
    struct Case {
        const char* what;
        Kind kind;
        std::string bytes;
        const char* error; ///< the message, or its start up to the path
    };
    const Case cases[] = {
        {"shipped file", Kind::bytes, good, "(loaded)"},
        {"crafted file of ordinary names", Kind::bytes, crafted_file(12, 100), "(loaded)"},
        {"magic only", Kind::bytes, good.substr(0, 4), "places.bin: 地名データの形式ではありません"},
        {"zip file", Kind::bytes, "PK\x03\x04" + good.substr(4),
         "places.bin: 地名データの形式ではありません"},
        {"cut short", Kind::bytes, good.substr(0, good.size() - 100),
         "places.bin: 壊れています（圧縮データ）"},
        {"flipped byte", Kind::bytes, flipped, "places.bin: 壊れています（圧縮データ）"},
        {"length one too long", Kind::bytes, longer, "places.bin: 壊れています（圧縮データ）"},
        {"length beyond what deflate inflates to", Kind::bytes, crafted_file(30, 100, 60u << 20),
         "places.bin: 壊れています（長さ）"},
        {"2 KB name repeated in every town", Kind::bytes, crafted_file(2048, 20000),
         "places.bin: 壊れています（名前の長さ）"},
        {"155 KB name", Kind::bytes, crafted_file(155 << 10, 2000), "places.bin: 壊れています（名前の長さ）"},
        {"FIFO", Kind::fifo, {}, "places.bin: 開けません（通常のファイルではありません: "},
        {"folder", Kind::folder, {}, "places.bin: 開けません（フォルダーです: "},
        {"missing", Kind::missing, {}, "places.bin: 開けません（ファイルがありません: "},
    };
    const auto folder =
        std::filesystem::temp_directory_path() / ("vantora_places_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    for (const auto& c : cases) {
        const auto path = folder / c.what;
        if (c.kind == Kind::bytes) {
            std::ofstream(path, std::ios::binary) << c.bytes;
        }
        if (c.kind == Kind::fifo) {
            ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0) << c.what;
        }
        if (c.kind == Kind::folder) std::filesystem::create_directory(path);
        const auto loaded = load_places(path);
        const auto* error = std::get_if<PlaceDataError>(&loaded);
        const std::string message = error ? error->message : "(loaded)";
        EXPECT_TRUE(message.starts_with(c.error)) << c.what << ": " << message;
    }
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace vantora
