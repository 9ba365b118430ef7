// A chart as the command writes it, one JSON object: every shown text keyed by its control's name,
// the reversed reading, the export text, the computed values and the detail readings; and the
// answer to one batch line, the chart or the line's error.
#pragma once

#include "core/tables.hpp"
#include "request/check_birth.hpp"
#include "request/json_writer.hpp"

#include <nlohmann/json.hpp>

#include <string_view>

namespace vantora::request {

/// Appends the chart as the command writes it, one JSON object without a line end: every shown
/// text by control name, the bold luck pillar, the reversed view, the export text, the computed
/// values, the detail readings ("details") and, when one was named, the place ("place"). A new
/// member is one JsonWriter::member call there.
void write_chart_json(JsonBuffer& out, const Chart& chart, const Request& request);

/// The same object as write_chart_json, as a JSON value (for callers that read it back).
nlohmann::ordered_json chart_json(const Chart& chart, const Request& request);

/// Appends the answer to a bad batch line: {"line":N,"error":"…"}, without a line end.
void write_error_json(JsonBuffer& out, long line, std::string_view message);

/// Appends the answer to batch line number `number` (from 1), without a line end: the chart of the
/// birth it gives, or its error. Returns false when the answer is an error.
bool answer_batch_line(JsonBuffer& out, std::string_view line, long number, const TermTables& tables);

} // namespace vantora::request
