// The time difference of a birth place from the standard meridian of Japanese time (135° E):
// read from the two boxes of the window (minutes, seconds), or derived from a longitude the way
// the map's "決定" derives it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vantora {

/// The standard meridian of Japanese time, degrees east.
inline constexpr double kStandardMeridian = 135.0;

/// Range of the window's spin arrows, minutes of time: a band around Japan's main islands. The
/// map and a place may write values beyond it (e.g. +75 for Minamitorishima).
inline constexpr int kSpinOffsetMinutesMin = -49, kSpinOffsetMinutesMax = 48;
/// Range of the spin arrows of the seconds box.
inline constexpr int kSpinOffsetSecondsMin = 0, kSpinOffsetSecondsMax = 59;
/// Largest magnitude of the minutes the command accepts as typed: −99..99, so that every offset
/// the map (−54..+48) or a place (up to +75, Minamitorishima) gives can be typed again.
inline constexpr int kTypedOffsetMinutesLimit = 99;
/// Longest text of the seconds box, and of the command's offset seconds.
inline constexpr std::size_t kOffsetSecondsMaxLength = 5;

/// A time difference as the two boxes give it, east positive.
struct TimeDifference {
    double minutes = 0;    ///< whole minutes of time, may be negative
    double seconds = 0;    ///< seconds of time, a magnitude that takes the sign of the whole offset
    bool negative = false; ///< the sign of the whole offset: minutes below 0, or their text "-0"
};

/// Reads the minutes and seconds texts of the time difference, each by its leading number (an
/// empty or non-numeric text reads as 0). The seconds take the sign of the minutes; a minutes
/// text that starts with "-" (after blanks) is negative even when its value is 0, so that "-0"
/// and "30" mean 30 seconds west of 135° E.
TimeDifference read_time_difference(std::string_view minutes_text, std::string_view seconds_text);

/// An angle split into whole degrees, minutes and seconds by repeated flooring.
struct Dms {
    int degrees = 0;
    int minutes = 0;
    int seconds = 0;
    friend bool operator==(const Dms&, const Dms&) = default;
};

/// Splits in double precision: d = ⌊a⌋, m = (a − d)·60, s = (m − ⌊m⌋)·60, seconds ⌊s⌋.
Dms split_dms(double degrees);

/// The same split with every intermediate stored in single precision.
Dms split_dms(float degrees);

/// Longitude from the three shown texts: deg + min/60 + sec/3600, each text read by its leading
/// number (an empty or non-numeric text counts as 0).
double longitude_from_texts(std::string_view degrees, std::string_view minutes, std::string_view seconds);

/// The texts for the time-difference boxes of a longitude (degrees east).
struct TimeDifferenceTexts {
    std::string minutes; ///< v = (lon − 135)·4 truncated toward zero; "-0" for −1 < v < 0
    std::string seconds; ///< whole seconds of the fraction of |v|, 0..59, never signed
    friend bool operator==(const TimeDifferenceTexts&, const TimeDifferenceTexts&) = default;
};

/// Time difference of local mean time at lon from Japan Standard Time, east positive. A place
/// less than a minute west of 135° E gets "-0" so that its seconds are read as west.
TimeDifferenceTexts time_difference_texts(double lon);

/// The texts "決定" writes for a point at lon (degrees east) shown on the map's labels: lon is
/// split into whole degrees, minutes and seconds (split_dms, flooring), read back as
/// deg + min/60 + sec/3600, then converted by time_difference_texts. A place's longitude thus
/// gives the same time difference in the map window and in the command.
TimeDifferenceTexts decided_time_difference(double lon);

} // namespace vantora
