#include "request/chart_json.hpp"

#include "chart/compute_chart.hpp"
#include "chart/details.hpp"
#include "chart/export_text.hpp"
#include "chart/reversal.hpp"
#include "chart/shown_chart.hpp"
#include "core/names.hpp"
#include "request/batch_line.hpp"
#include "request/readings_json.hpp"

#include <span>

namespace vantora::request {
namespace {

/// The detail readings of a chart: ten-god names, stages and void marks of the four pillars, the
/// void pair, the eleven luck pillars and the ten annual pillars from the request's present year,
/// each with its relations to the natal pillars, and the relations among the natal pillars.
void write_details(JsonWriter& w, const Chart& c, const Request& request) {
    const ChartDetails d = chart_details(c, request.now);
    w.begin_object();
    w.key("pillars");
    w.begin_object();
    static constexpr const char* kPlaceNames[] = {"year", "month", "day", "hour"};
    for (std::size_t k = 0; k < d.pillars.size(); ++k) {
        const PillarDetails& p = d.pillars[k];
        w.key(kPlaceNames[k]);
        w.begin_object();
        w.member("stem_god", p.stem_god);
        w.member("hidden_god", p.hidden_god);
        w.member("stage", p.stage);
        w.member("void", p.is_void);
        w.end_object();
    }
    w.end_object();
    w.member("void", void_pair_text(d.void_pair));
    w.key("luck");
    w.begin_array();
    const auto luck_names = cycle_pillar_names("luck");
    for (const LuckDetails& l : d.luck) {
        w.begin_object();
        w.member("stem_god", l.stem_god);
        w.member("stage", l.stage);
        w.key("relations");
        write_relations(w, l.relations, luck_names);
        w.end_object();
    }
    w.end_array();
    w.key("years");
    w.begin_array();
    const auto year_names = cycle_pillar_names("year_pillar");
    for (const AnnualPillar& a : d.years) {
        w.begin_object();
        w.member("year", a.year);
        std::string pillar(stem_name[static_cast<std::size_t>(a.stem)]);
        pillar += branch_name[static_cast<std::size_t>(a.branch)];
        w.member("pillar", pillar);
        w.member("stem_god", a.stem_god);
        w.member("stage", a.stage);
        w.member("void", a.is_void);
        w.key("relations");
        write_relations(w, a.relations, year_names);
        w.end_object();
    }
    w.end_array();
    w.key("relations");
    write_relations(w, d.relations, kNatalPillarNames);
    w.end_object();
}

} // namespace

void write_chart_json(JsonBuffer& out, const Chart& c, const Request& request) {
    JsonWriter w(out);
    const ChartTexts& t = c.texts;
    w.begin_object();
    for_each_control(
        t, [&w](std::string_view name, const std::string& text) { w.member(name, text); },
        [&w](std::string_view name, std::span<const std::string> row) {
            w.key(name);
            w.begin_array();
            for (const std::string& text : row) w.value(text);
            w.end_array();
        });
    w.key("bold");
    if (c.current_luck) {
        w.value(*c.current_luck);
    } else {
        w.value(nullptr);
    }

    const ReversedView r = reverse_chart(reversal_input(c));
    w.key("reversed");
    w.begin_object();
    for_each_reversed_control(r,
                              [&w](std::string_view name, const std::string& text) { w.member(name, text); });
    w.member("reversal_case", r.reversal_case);
    w.end_object();
    w.member("export", export_text(t, request.record.sex, request.stamp));
    w.key("values");
    w.begin_object();
    w.member("jBirth", c.jBirth);
    w.member("jihun", c.jihun);
    w.member("jisa", c.jisa);
    w.member("jBirthS", c.jBirthS);
    w.member("zg2", c.zg2);
    w.member("gosa", c.gosa);
    w.member("birth_nl", c.birth_nl);
    w.member("month_no", c.month_no);
    w.member("pillar_year", c.pillar_year);
    w.member("true_year", c.true_year);
    w.member("true_month", c.true_month);
    w.member("true_day", c.true_day);
    w.member("true_hour", c.true_hour);
    w.member("true_minute", c.true_minute);
    w.member("year_stem", c.year_stem);
    w.member("year_branch", c.year_branch);
    w.member("month_stem", c.month_stem);
    w.member("month_branch", c.month_branch);
    w.member("day_stem", c.day_stem);
    w.member("day_branch", c.day_branch);
    w.member("hour_stem", c.hour_stem);
    w.member("hour_branch", c.hour_branch);
    w.member("year_hidden", c.year_hidden);
    w.member("month_hidden", c.month_hidden);
    w.member("day_hidden", c.day_hidden);
    w.member("hour_hidden", c.hour_hidden);
    w.member("luck_forward", c.luck_forward);
    w.member("luck_years", c.luck_years);
    w.member("jd_present", c.jd_present);
    w.member("jd_anniversary", c.jd_anniversary);
    w.end_object();
    w.key("details");
    write_details(w, c, request);
    if (request.place) w.member("place", place_json(*request.place));
    w.key("rules");
    w.begin_object();
    for (const RuleChoice& choice : kRuleChoices) w.member(choice.key, rule_value(c.rules, choice));
    w.end_object();
    if (c.summer_time_notice) {
        w.key("notices");
        w.begin_array();
        w.value("summer-time");
        w.end_array();
    }
    w.end_object();
}

nlohmann::ordered_json chart_json(const Chart& c, const Request& request) {
    JsonBuffer text;
    write_chart_json(text, c, request);
    return nlohmann::ordered_json::parse(text.view());
}

void write_error_json(JsonBuffer& out, long line, std::string_view message) {
    JsonWriter w(out);
    w.begin_object();
    w.member("line", line);
    w.member("error", message);
    w.end_object();
}

bool answer_batch_line(JsonBuffer& out, std::string_view line, long number, const TermTables& tables) {
    const auto parsed = parse_batch_line(line);
    if (const auto* error = std::get_if<RequestError>(&parsed)) {
        write_error_json(out, number, error->message);
        return false;
    }
    const auto& request = std::get<Request>(parsed);
    const auto chart = compute_chart(request.record, request.now, tables, request.rules);
    if (const auto* failed = std::get_if<ChartError>(&chart)) {
        write_error_json(out, number, failed->message);
        return false;
    }
    write_chart_json(out, std::get<Chart>(chart), request);
    return true;
}

} // namespace vantora::request
