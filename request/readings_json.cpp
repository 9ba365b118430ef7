#include "request/readings_json.hpp"

#include "core/names.hpp"

#include <cstdio>

namespace vantora::request {
namespace {

std::string pillar_text(StemBranch p) {
    std::string text(stem_name[static_cast<std::size_t>(p.stem)]);
    text += branch_name[static_cast<std::size_t>(p.branch)];
    return text;
}

/// The members every month and day carries after its own: the pillar's readings.
void write_reading(JsonWriter& w, const CycleReading& r) {
    w.member("stem_god", r.stem_god);
    w.member("stage", r.stage);
    w.member("void", r.is_void);
}

} // namespace

void write_relations(JsonWriter& w, const std::vector<Relation>& relations,
                     std::span<const std::string_view> pillar_names) {
    w.begin_array();
    for (const Relation& r : relations) {
        w.begin_object();
        w.member("kind", relation_kind_text(r.kind));
        w.key("pillars");
        w.begin_array();
        for (const std::uint8_t m : r.members()) w.value(pillar_names[m]);
        w.end_array();
        w.member("chars", r.chars);
        w.end_object();
    }
    w.end_array();
}

std::vector<std::string_view> cycle_pillar_names(std::string_view cycle) {
    return {kNatalPillarNames[0], kNatalPillarNames[1], kNatalPillarNames[2], kNatalPillarNames[3], cycle};
}

bool write_months_json(JsonBuffer& out, const Chart& chart, int year, const TermTables& tables) {
    const auto months = months_of_year(chart, year, tables);
    if (!months) return false;
    const auto names = cycle_pillar_names("month_pillar");
    for (const MonthReading& m : *months) {
        JsonWriter w(out);
        w.begin_object();
        w.member("year", year);
        w.member("month_no", m.month_no);
        w.member("pillar", pillar_text(m.pillar));
        w.member("term_instant", clock_minute_text(m.term_start));
        write_reading(w, m);
        w.key("relations");
        write_relations(w, m.relations, names);
        w.end_object();
        out.push_back('\n');
    }
    return true;
}

void write_days_json(JsonBuffer& out, const Chart& chart, int year, int month, const LocalDateTime& now) {
    const auto names = cycle_pillar_names("day_pillar");
    for (const DayReading& d : days_of_month(chart, year, month, now)) {
        JsonWriter w(out);
        char date[16];
        std::snprintf(date, sizeof date, "%04d-%02d-%02d", year, month, d.day);
        w.begin_object();
        w.member("date", std::string_view(date));
        w.member("pillar", pillar_text(d.pillar));
        write_reading(w, d);
        w.member("today", d.today);
        w.key("relations");
        write_relations(w, d.relations, names);
        w.end_object();
        out.push_back('\n');
    }
}

} // namespace vantora::request
