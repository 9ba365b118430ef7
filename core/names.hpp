// The name tables that turn indices into the characters the chart shows.
#pragma once

#include <array>
#include <string_view>

namespace vantora {

/// Weekday characters, Sunday first (index = weekday number − 1).
inline constexpr std::array<std::string_view, 7> weekday_name{"日", "月", "火", "水", "木", "金", "土"};

/// Heavenly stems 甲…癸 at 1..10; index 0 is the placeholder "□" shown for an unknown value.
inline constexpr std::array<std::string_view, 11> stem_name{"□",  "甲", "乙", "丙", "丁", "戊",
                                                            "己", "庚", "辛", "壬", "癸"};

/// Earthly branches 子…亥 at 1..12; index 0 is the placeholder "□".
inline constexpr std::array<std::string_view, 13> branch_name{"□",  "子", "丑", "寅", "卯", "辰", "巳",
                                                              "午", "未", "申", "酉", "戌", "亥"};

/// The five ten-god categories, relative to the day stem: same element, produced, overcome,
/// overcoming, producing.
inline constexpr std::array<std::string_view, 5> relation_name{"比", "食", "財", "官", "印"};

} // namespace vantora
