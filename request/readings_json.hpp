// The readings as JSON: the relations between pillars, and the months and days ahead of a chart,
// one object per month or day.
#pragma once

#include "chart/readings_ahead.hpp"
#include "chart/relations.hpp"
#include "core/tables.hpp"
#include "request/json_writer.hpp"

#include <span>
#include <string_view>
#include <vector>

namespace vantora::request {

/// Writes relations as an array of {"kind": "冲", "pillars": ["year", "day"], "chars": "子午"},
/// each pillar index of a relation named by pillar_names.
void write_relations(JsonWriter& w, const std::vector<Relation>& relations,
                     std::span<const std::string_view> pillar_names);

/// The natal pillars' names in JSON by PillarPlace, then the cycle pillar's.
inline constexpr std::string_view kNatalPillarNames[] = {"year", "month", "day", "hour"};

/// The names of the pillars a cycle pillar's relations hold: the natal ones, then `cycle`.
std::vector<std::string_view> cycle_pillar_names(std::string_view cycle);

/// Appends one JSON line per solar month of `year` (立春 to 立春) read against chart: {"year":2008,
/// "month_no":2,"pillar":"甲寅","term_instant":"2008-02-04T20:04","stem_god":…,"stage":…,
/// "void":…,"relations":[…]}. False, with nothing appended, when the tables give an impossible Sun.
bool write_months_json(JsonBuffer& out, const Chart& chart, int year, const TermTables& tables);

/// Appends one JSON line per day of civil month `month` of `year` read against chart: {"date":
/// "2008-02-01","pillar":"辛未","stem_god":…,"stage":…,"void":…,"today":…,"relations":[…]}.
void write_days_json(JsonBuffer& out, const Chart& chart, int year, int month, const LocalDateTime& now);

} // namespace vantora::request
