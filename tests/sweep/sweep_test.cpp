// Every day from 1500-01-01 to 2099-12-31 at the hours 0, 11, 12 and 23, minutes 0 and 59, and
// the two extreme time differences of Japan (−54 min 24 s, +48 min 19 s): each chart must hold
// the invariants of fuzz/chart_invariants.hpp, the day pillar must advance by one sexagenary
// step per day of true solar time, the solar month by one month at a time, and the year pillar
// must change exactly once a civil year, in early February.
//
// The sex only decides the direction of the luck pillars, so the sexes alternate by day rather
// than doubling the run: every stream still sees both directions in every month.
#include "chart/compute_chart.hpp"
#include "core/calendar.hpp"
#include "core/term_file.hpp"
#include "fuzz/chart_invariants.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <thread>
#include <vector>

namespace {

constexpr int kFirstYear = 1500, kLastYear = 2099;
/// The year pillar must change between these days of February (spring start, 315°).
constexpr int kSpringStartFirstDay = 2, kSpringStartLastDay = 6;
/// Messages kept per stream; the counts go on beyond them.
constexpr std::size_t kMaxMessages = 20;

const vantora::LocalDateTime kNow{2026, 12, 8, 10, 0, 0};

struct Offset {
    const char* name;
    double minutes, seconds;
    bool negative;
};
/// The extremes of Japan's time difference from 135° E, and none.
constexpr Offset kWest{"-54m24s", -54, 24, true};
constexpr Offset kEast{"+48m19s", 48, 19, false};
constexpr Offset kNone{"0", 0, 0, false};

/// One sequence of charts at a fixed clock time and offset, day after day.
struct Stream {
    int hour, minute;
    Offset offset;
    bool check_year_change; ///< the stream at 12:00 without offset also checks the spring start
};

struct StreamResult {
    long charts = 0;
    long failures = 0;
    std::vector<std::string> messages;
    void fail(const std::string& message) {
        ++failures;
        if (messages.size() < kMaxMessages) messages.push_back(message);
    }
};

/// The sexagenary number 1..60 of a stem 1..10 and branch 1..12 of the same parity.
int sexagenary_number(int stem, int branch) {
    for (int n = 1; n <= 60; ++n) {
        if (vantora::stem_of(n) == stem && vantora::branch_of(n) == branch) return n;
    }
    return 0;
}

std::string date_text(int y, int m, int d, const Stream& s) {
    return std::to_string(y) + "-" + std::to_string(m) + "-" + std::to_string(d) + " " +
           std::to_string(s.hour) + ":" + std::to_string(s.minute) + " offset " + s.offset.name;
}

StreamResult run_stream(const Stream& stream, const vantora::TermTables& tables) {
    StreamResult result;
    vantora::BirthRecord record;
    record.birth_hour = stream.hour;
    record.birth_minute = stream.minute;
    record.offset = {stream.offset.minutes, stream.offset.seconds, stream.offset.negative};

    bool have_previous = false;
    int previous_day_n = 0, previous_month_no = 0, previous_year_n = 0;
    double previous_true_jd = 0;
    long day_index = 0;
    for (int y = kFirstYear; y <= kLastYear; ++y) {
        vantora::MonthDays days;
        vantora::set_month_days(days, y);
        int year_changes = 0;
        for (int m = 1; m <= 12; ++m) {
            for (int d = 1; d <= days[m]; ++d, ++day_index) {
                record.birth_year = y;
                record.birth_month = m;
                record.birth_day = d;
                record.sex = day_index % 2 == 0 ? vantora::Sex::male : vantora::Sex::female;
                const auto computed = vantora::compute_chart(record, kNow, tables);
                ++result.charts;
                if (const auto* error = std::get_if<vantora::ChartError>(&computed)) {
                    result.fail(date_text(y, m, d, stream) + ": " + error->message + "\n");
                    continue;
                }
                const auto& c = std::get<vantora::Chart>(computed);
                const std::string failures = vantora::invariants::chart_failures(c, record);
                if (!failures.empty()) result.fail(date_text(y, m, d, stream) + ":\n" + failures);

                const int day_n = sexagenary_number(c.day_stem, c.day_branch);
                const int year_n = sexagenary_number(c.year_stem, c.year_branch);
                const double true_jd = vantora::julian_day(c.true_year, c.true_month, c.true_day);
                if (have_previous) {
                    const long elapsed = std::lround(true_jd - previous_true_jd);
                    if (((day_n - previous_day_n - elapsed) % 60 + 60) % 60 != 0) {
                        result.fail(date_text(y, m, d, stream) + ": day pillar moved " +
                                    std::to_string(day_n - previous_day_n) + " steps over " +
                                    std::to_string(elapsed) + " true solar days");
                    }
                    if (c.month_no != previous_month_no && c.month_no != previous_month_no % 12 + 1) {
                        result.fail(date_text(y, m, d, stream) + ": solar month jumped from " +
                                    std::to_string(previous_month_no) + " to " + std::to_string(c.month_no));
                    }
                    if (stream.check_year_change && year_n != previous_year_n) {
                        ++year_changes;
                        if (m != 2 || d < kSpringStartFirstDay || d > kSpringStartLastDay) {
                            result.fail(date_text(y, m, d, stream) +
                                        ": year pillar changes outside 2..6 February");
                        }
                        if (c.pillar_year != y || year_n != (previous_year_n % 60) + 1) {
                            result.fail(date_text(y, m, d, stream) +
                                        ": year pillar does not step to the year " + std::to_string(y));
                        }
                    }
                }
                have_previous = true;
                previous_day_n = day_n;
                previous_month_no = c.month_no;
                previous_year_n = year_n;
                previous_true_jd = true_jd;
            }
        }
        if (stream.check_year_change && year_changes != 1) {
            result.fail(std::to_string(y) + ": year pillar changed " + std::to_string(year_changes) +
                        " times at 12:00 without offset");
        }
    }
    return result;
}

TEST(Sweep, EveryDateFrom1500To2099HoldsTheChartInvariants) {
    const auto loaded = vantora::load_term_tables(VANTORA_SOURCE_DIR "/data");
    ASSERT_TRUE(std::holds_alternative<vantora::TermTables>(loaded));
    const auto& tables = std::get<vantora::TermTables>(loaded);

    std::vector<Stream> streams;
    for (const int hour : {0, 11, 12, 23}) {
        for (const int minute : {0, 59}) {
            for (const Offset& offset : {kWest, kEast}) streams.push_back({hour, minute, offset, false});
        }
    }
    streams.push_back({12, 0, kNone, true});

    const auto started = std::chrono::steady_clock::now();
    std::vector<StreamResult> results(streams.size());
    const unsigned thread_count = std::max(1u, std::min(2u, std::thread::hardware_concurrency()));
    std::vector<std::thread> threads;
    for (unsigned t = 0; t < thread_count; ++t) {
        threads.emplace_back([&, t] {
            for (std::size_t k = t; k < streams.size(); k += thread_count)
                results[k] = run_stream(streams[k], tables);
        });
    }
    for (auto& thread : threads) thread.join();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    long charts = 0, failures = 0;
    for (std::size_t k = 0; k < streams.size(); ++k) {
        charts += results[k].charts;
        failures += results[k].failures;
        for (const auto& message : results[k].messages) ADD_FAILURE() << message;
    }
    std::cout << "sweep: " << charts << " charts checked in " << seconds << " s on " << thread_count
              << " threads (" << seconds * 1e6 * thread_count / static_cast<double>(charts)
              << " µs per chart), " << failures << " failures\n";
    // 219,146 days in each of the 17 streams.
    EXPECT_EQ(charts, 219146L * static_cast<long>(streams.size()));
    EXPECT_EQ(failures, 0);
}

} // namespace
