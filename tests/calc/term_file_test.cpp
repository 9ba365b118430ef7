// Reading the term files: good layouts load the same, every bad file gives one clear error.
#include "core/message_text.hpp"
#include "core/term_file.hpp"

#include "test_tables.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace vantora {
namespace {

std::string read_whole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

const std::string& planet_text() {
    static const std::string text = read_whole(VANTORA_SOURCE_DIR "/data/planet.txt");
    return text;
}

const std::string& latitude_text() {
    static const std::string text = read_whole(VANTORA_SOURCE_DIR "/data/latitude.txt");
    return text;
}

/// The first `count` lines of a text, each ended by "\n".
std::string first_lines(const std::string& text, int count) {
    std::istringstream in(text);
    std::string line, out;
    for (int k = 0; k < count && std::getline(in, line); ++k) out += line + "\n";
    return out;
}

TermResult<std::array<PlanetTerm, kPlanetTermCount>> read_planet(const std::string& text) {
    std::istringstream in(text);
    return read_planet_terms(in, "planet.txt");
}

std::string planet_error(const std::string& text) {
    const auto result = read_planet(text);
    const auto* error = std::get_if<TermFileError>(&result);
    return error ? error->message : std::string("(loaded)");
}

/// The text with every amplitude (the 4th and the 6th field) of every line multiplied by factor.
std::string scaled_values(const std::string& text, double factor) {
    std::istringstream in(text);
    std::string out;
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        std::string field, scaled;
        for (int f = 1; std::getline(fields, field, ','); ++f) {
            if (f > 1) scaled += ", ";
            scaled += f != 4 && f != 6 ? field.substr(field.find_first_not_of(' '))
                                       : std::to_string(std::stod(field) * factor);
        }
        out += scaled + "\n";
    }
    return out;
}

bool same_terms(const std::array<PlanetTerm, kPlanetTermCount>& a,
                const std::array<PlanetTerm, kPlanetTermCount>& b) {
    for (std::size_t k = 0; k < a.size(); ++k) {
        if (a[k].p != b[k].p || a[k].i != b[k].i || a[k].j != b[k].j || a[k].a != b[k].a ||
            a[k].alpha != b[k].alpha || a[k].b != b[k].b || a[k].beta != b[k].beta) {
            return false;
        }
    }
    return true;
}

TEST(TermFile, RealFilesLoad) {
    const auto tables = load_term_tables(VANTORA_SOURCE_DIR "/data");
    ASSERT_TRUE(std::holds_alternative<TermTables>(tables));
    const auto& t = std::get<TermTables>(tables);
    EXPECT_EQ(t.planet_terms[0].p, 1);
    EXPECT_EQ(t.planet_terms[0].i, -1);
    EXPECT_EQ(t.planet_terms[0].j, 1);
    EXPECT_DOUBLE_EQ(t.planet_terms[0].a, 0.013);
    EXPECT_DOUBLE_EQ(t.planet_terms[0].beta, 335);
    for (const auto& row : t.latitude_terms) {
        EXPECT_GE(row.p, 1);
        EXPECT_LE(row.p, 6);
    }
}

TEST(TermFile, LayoutVariantsLoadTheSameTerms) {
    const auto reference = std::get<0>(read_planet(planet_text()));
    std::string one_line = planet_text();
    for (char& c : one_line) {
        if (c == '\n') c = ' ';
    }
    std::string split; // every value on a line of its own
    for (const char c : planet_text()) split += c == ',' ? '\n' : c;
    std::string crlf;
    for (const char c : planet_text()) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    const struct {
        const char* name;
        std::string text;
    } variants[] = {
        {"all records on one line", one_line},
        {"each value on its own line", split},
        {"CRLF line ends", crlf},
        {"byte-order mark", "\xEF\xBB\xBF" + planet_text()},
        {"tabs and extra blanks", "  \t" + planet_text()},
        {"more than 120 records: the rest is ignored", planet_text() + planet_text()},
        {"garbage after the last record is not read", planet_text() + "\nnot a number, at all\n"},
    };
    for (const auto& v : variants) {
        const auto result = read_planet(v.text);
        ASSERT_TRUE((std::holds_alternative<std::array<PlanetTerm, kPlanetTermCount>>(result)))
            << v.name << ": " << planet_error(v.text);
        EXPECT_TRUE(same_terms(std::get<0>(result), reference)) << v.name;
    }
}

TEST(TermFile, BadFilesGiveOneClearError) {
    const std::string good = planet_text();
    const std::string rows119 = first_lines(good, 119);
    const auto replace_first_line = [&good](const std::string& line) {
        return line + "\n" + good.substr(good.find('\n') + 1);
    };
    const struct {
        const char* name;
        std::string text;
        std::string message;
    } cases[] = {
        {"empty file", "", "planet.txt: 数値がありません（120件が必要です）"},
        {"119 records", rows119, "planet.txt: 119件目で終わっています（120件が必要です）"},
        {"ends inside record 120", rows119 + "1, -1",
         "planet.txt: 120件目の途中で終わっています（120件が必要です）"},
        {"not a number", replace_first_line("1, -1, 1, abc, 243, 28, 335"),
         "planet.txt: 1件目の4番目の値「abc」は数値ではありません"},
        {"a number with trailing letters", replace_first_line("1, -1, 1, 0.013x, 243, 28, 335"),
         "planet.txt: 1件目の4番目の値「0.013x」は数値ではありません"},
        {"nan is not a number", replace_first_line("1, -1, 1, nan, 243, 28, 335"),
         "planet.txt: 1件目の4番目の値「nan」は数値ではありません"},
        {"infinite value", replace_first_line("1, -1, 1, 1e999, 243, 28, 335"),
         "planet.txt: 1件目の4番目の値「1e999」は数値として大きすぎます"},
        {"missing value between commas", replace_first_line("1, -1,, 0.013, 243, 28, 335"),
         "planet.txt: 1件目の3番目の値がありません"},
        {"integer field not whole", replace_first_line("1, -1.5, 1, 0.013, 243, 28, 335"),
         "planet.txt: 1件目の2番目の値「-1.5」は整数ではありません"},
        {"integer field beyond 16 bits", replace_first_line("1, 40000, 1, 0.013, 243, 28, 335"),
         "planet.txt: 1件目の2番目の値「40000」は整数の範囲（-32768〜32767）を超えています"},
        {"body number 0", replace_first_line("0, -1, 1, 0.013, 243, 28, 335"),
         "planet.txt: 1件目の天体番号「0」は1〜6の範囲外です"},
        {"body number 7", replace_first_line("7, -1, 1, 0.013, 243, 28, 335"),
         "planet.txt: 1件目の天体番号「7」は1〜6の範囲外です"},
        {"absurdly long value", replace_first_line("1, -1, 1, " + std::string(500, '9') + ", 243, 28, 335"),
         "planet.txt: 1件目の4番目の値「" + std::string(64, '9') + "…」は長すぎます"},
    };
    for (const auto& c : cases) EXPECT_EQ(planet_error(c.text), c.message) << c.name;
}

TEST(TermFile, ValuesNoSolarTheoryHasAreRefused) {
    const std::string good = planet_text();
    const std::string rows119 = first_lines(good, 119);
    const auto latitude_error = [](const std::string& text) {
        std::istringstream in(text);
        const auto result = read_latitude_terms(in, "latitude.txt");
        const auto* error = std::get_if<TermFileError>(&result);
        return error ? error->message : std::string("(loaded)");
    };
    const struct {
        const char* name;
        std::string message;
        std::string expected;
    } cases[] = {
        // A 1.7e308 amplitude in three records once overflowed the sum to NaN, and 1e200 reduced
        // the longitude to exactly 0, each giving a chart with exit status 0.
        {"awk: three records with amplitude 1.7e308 and phase 0",
         planet_error(testing::with_field(testing::with_field(good, 3, 4, "1.7e308"), 3, 5, "0")),
         "planet.txt: 1件目の4番目の値「1.7e308」は経度の振幅の範囲（-100〜100秒角）を超えています"},
        {"sed: first amplitude 1e200", planet_error(testing::with_field(good, 1, 4, "1e200")),
         "planet.txt: 1件目の4番目の値「1e200」は経度の振幅の範囲（-100〜100秒角）を超えています"},
        {"negative longitude amplitude", planet_error(testing::with_field(good, 1, 4, "-100.5")),
         "planet.txt: 1件目の4番目の値「-100.5」は経度の振幅の範囲（-100〜100秒角）を超えています"},
        {"longitude phase", planet_error(testing::with_field(good, 1, 5, "2430")),
         "planet.txt: 1件目の5番目の値「2430」は位相の範囲（-720〜720度）を超えています"},
        {"distance amplitude", planet_error(testing::with_field(good, 1, 6, "2.8e5")),
         "planet.txt: 1件目の6番目の値「2.8e5」は距離の振幅の範囲（-100000〜100000）を超えています"},
        {"distance phase in the last record", planet_error(rows119 + "6, 1, 1, 0.1, 2, 3, -1e9"),
         "planet.txt: 120件目の7番目の値「-1e9」は位相の範囲（-720〜720度）を超えています"},
        {"latitude amplitude", latitude_error(testing::with_field(latitude_text(), 1, 4, "29")),
         "latitude.txt: 1件目の4番目の値「29」は緯度の振幅の範囲（-10〜10秒角）を超えています"},
        {"latitude phase", latitude_error(testing::with_field(latitude_text(), 2, 5, "-1e300")),
         "latitude.txt: 1件目の5番目の値「-1e300」は位相の範囲（-720〜720度）を超えています"},
        {"every value at its bound loads",
         planet_error(testing::with_field(
             testing::with_field(testing::with_field(good, 2, 4, "-100"), 1, 5, "720"), 1, 6, "100000")),
         "(loaded)"},
        // The shipped files lie far inside the bounds: ten times every amplitude loads.
        {"shipped planet terms times ten", planet_error(scaled_values(good, 10)), "(loaded)"},
        {"shipped latitude terms times ten", latitude_error(scaled_values(latitude_text(), 10)), "(loaded)"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.message, c.expected) << c.name;
}

TEST(TermFile, IntegerFieldsAtTheEdgesOfSixteenBitsLoad) {
    const std::string good = planet_text();
    const std::string text = "6, -32768, 32767, 0.013, 243, 28, 335\n" + good.substr(good.find('\n') + 1);
    const auto result = read_planet(text);
    ASSERT_EQ(result.index(), 0u) << planet_error(text);
    EXPECT_EQ(std::get<0>(result)[0].i, -32768);
    EXPECT_EQ(std::get<0>(result)[0].j, 32767);
}

TEST(TermFile, LatitudeFileIsCheckedLikeThePlanetFile) {
    std::istringstream short_file(first_lines(latitude_text(), 33));
    const auto result = read_latitude_terms(short_file, "latitude.txt");
    ASSERT_TRUE(std::holds_alternative<TermFileError>(result));
    EXPECT_EQ(std::get<TermFileError>(result).message,
              "latitude.txt: 33件目で終わっています（34件が必要です）");
}

class TermFolder : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("vantora-terms-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    void write(const char* name, const std::string& text) const {
        std::ofstream(folder / name, std::ios::binary) << text;
    }
    std::string load_error() const {
        const auto result = load_term_tables(folder);
        const auto* error = std::get_if<TermFileError>(&result);
        return error ? error->message : std::string("(loaded)");
    }
    std::filesystem::path folder;
};

TEST_F(TermFolder, MissingPlanetFileNamesItsPath) {
    write("latitude.txt", latitude_text());
    const std::string message = load_error();
    EXPECT_EQ(message.rfind("planet.txt: ファイルを開けません（", 0), 0u) << message;
    EXPECT_NE(message.find((folder / "planet.txt").string()), std::string::npos) << message;
}

TEST_F(TermFolder, MissingLatitudeFileIsReportedAfterAGoodPlanetFile) {
    write("planet.txt", planet_text());
    EXPECT_EQ(load_error().rfind("latitude.txt: ファイルを開けません", 0), 0u);
}

TEST_F(TermFolder, AFolderInPlaceOfTheFileCannotBeOpened) {
    std::filesystem::create_directory(folder / "planet.txt");
    EXPECT_EQ(load_error().rfind("planet.txt: ファイルを開けません", 0), 0u);
}

TEST_F(TermFolder, BothGoodFilesLoad) {
    write("planet.txt", planet_text());
    write("latitude.txt", latitude_text());
    EXPECT_EQ(load_error(), "(loaded)");
}

} // namespace
} // namespace vantora

namespace vantora {
namespace {

TEST(MessageText, BytesFromOutsideAreShownEscaped) {
    const struct {
        std::string bytes, shown;
    } cases[] = {{"1.5e3", "1.5e3"},
                 {"惑星", "惑星"},
                 {std::string("a\0b", 3), "a\\x00b"},
                 {"\x1b[31m", "\\x1B[31m"},
                 {"\xff\xfe", "\\xFF\\xFE"},
                 {"\xe6\x83", "\\xE6\\x83"},          // a cut character
                 {"\xc0\xaf", "\\xC0\\xAF"},          // an overlong "/"
                 {"\xed\xa0\x80", "\\xED\\xA0\\x80"}, // a surrogate
                 {"\xc2\x85", "\\xC2\\x85"},          // a C1 control character
                 {"a\\b", "a\\\\b"},
                 {"\x7f", "\\x7F"}};
    for (const auto& c : cases) EXPECT_EQ(printable_text(c.bytes), c.shown) << c.shown;
}

TEST(MessageText, EchoedInputsAreCutAfterFortyCharacters) {
    const std::string forty(40, 'a');
    const std::string kanji40 = [] {
        std::string text;
        for (int k = 0; k < 40; ++k) text += "町";
        return text;
    }();
    const struct {
        std::string bytes, shown;
    } cases[] = {{forty, forty},
                 {forty + "b", forty + "…"},
                 {kanji40, kanji40},
                 {kanji40 + "町", kanji40 + "…"}, // cut between characters, not bytes
                 {forty + "\x1b", forty + "…"},   // the cut part is not shown at all
                 {std::string(39, 'a') + "\xff", std::string(39, 'a') + "\\xFF"}}; // a stray byte: one
    for (const auto& c : cases) EXPECT_EQ(echoed_text(c.bytes), c.shown) << c.shown;
}

} // namespace
} // namespace vantora
