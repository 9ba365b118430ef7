// Luck pillars (大運), the age of the first luck change, the completed age and the current pillar.
#pragma once

#include "chart/chart.hpp"

#include <optional>

namespace vantora {

/// Days of a tropical year, ten years and a hundred years, as the luck periods count them.
inline constexpr double kLuckYearDays = 365.2422;
inline constexpr double kLuckDecadeDays = 3652.422;
inline constexpr double kLuckCenturyDays = 36524.22;

/// Luck pillars run forward for a yang year (parity 0) and a male, or a yin year and a female.
bool luck_direction(int year_parity, Sex sex);

/// Longitude distance Δ in degrees, 0 ≤ Δ < 360, from the birth to the next month's start
/// (forward) or from the start of the birth month back to the birth (backward). One degree
/// counts as one day, so the age of the first change is Δ / 3 years.
double luck_change_degrees(bool forward, int month_no, double longitude);

/// Splits the luck-change age into whole years, 30-day months and days, and derives the change
/// month, the pillars, the change year and month, and the age rows; fills the luck fields and
/// their texts of `chart` (month stem and branch, month_no, year_stem, true_day and luck_years
/// must be set).
void fill_luck_pillars(Chart& chart);

/// Completed age (満年齢) at `now` of a person born in birth_year whose birthday this year is
/// jd_anniversary; sets jd_present and jd_anniversary.
int completed_age(double birth_year, double true_month, double true_day_with_time, const LocalDateTime& now,
                  double& jd_present, double& jd_anniversary);

/// The luck pillar 0..10 standing at jd_present (local clock), or nullopt before the birth and
/// more than a hundred years after the first change.
std::optional<int> mark_current_luck(double jd_present, double jisa, double jBirthS, double luck_years);

} // namespace vantora
