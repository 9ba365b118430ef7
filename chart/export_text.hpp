// The chart as a block of plain text for the user to copy.
#pragma once

#include "chart/birth_record.hpp"
#include "chart/chart.hpp"

#include <string>
#include <string_view>

namespace vantora {

/// Seventeen lines, CR LF after lines 1–16 and nothing after line 17, from the texts the chart
/// shows: time stamp and "解命"; "姓名／"; birth date, sex and age; luck-change age and date; an
/// empty line; the four pillars with their hidden stems beside the luck pillars and their start
/// ages; "備考／". Texts are inserted as they are; the fixed space counts line the luck pillars up
/// in column 23 for one-character captions and two-digit ages.
std::string export_text(const ChartTexts& shown, Sex sex, std::string_view time_stamp);

} // namespace vantora
