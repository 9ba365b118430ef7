// The printed chart: one A4 portrait page of the chart as the main window shows it (the pillar
// block with hidden stems and 旺, the luck pillars with their ages and the current one in bold,
// the texts) and, for a computed chart, its detail readings, natal relations and the coming
// years' pillars, painted with QPainter in millimetres and points at the device's own resolution,
// for the printer and for a PDF file alike.
#pragma once

#include "chart/chart.hpp"
#include "chart/local_time.hpp"
#include "ui/compatibility_window.hpp"
#include "ui/popup_window.hpp"

#include <QByteArray>
#include <QPageLayout>
#include <QString>

#include <optional>

class QPagedPaintDevice;
class QPainter;
class QRectF;

namespace vantora::ui {

/// The page the chart is laid out for: A4 portrait with margins of 18 mm on every side.
QPageLayout chart_page_layout();

/// Everything one printed page shows.
struct ChartPage {
    PopupContent chart;            ///< the texts exactly as the main window shows them
    std::optional<Chart> computed; ///< the chart as computed, whose detail readings, natal relations and
                                   ///< annual pillars the page adds; none for the reversed view
    LocalDateTime printed;         ///< written in the corner; its year opens the annual pillars
    std::optional<QString> name;   ///< a person of the chart book, heading the page
    QString birth_place; ///< the place's name and the time difference, e.g. "札幌市（時差 25分27秒）"
};

/// The birth place line of a page: "時差 19分0秒", with the place's name before it when there is one
/// ("札幌市（時差 25分27秒）"). minutes and seconds are the texts of the time-difference fields.
QString birth_place_text(const QString& place, const QString& minutes, const QString& seconds);

/// Paints the page onto painter's device inside area (device pixels; the printable part of the
/// page). The layout is 174 × 261 mm, the A4 page within its margins; a smaller area shrinks it to
/// fit, a wider one centres it.
void paint_chart_page(QPainter& painter, const QRectF& area, const ChartPage& page);

/// Paints the chart as the one page of device (a printer or a PDF writer, its page layout
/// already set). False when the device cannot be painted on (an output that cannot be opened).
bool print_chart(QPagedPaintDevice& device, const ChartPage& page);

/// The chart as a PDF document of one A4 page (chart_page_layout, 600 dots per inch).
QByteArray chart_pdf(const ChartPage& page);

/// Writes chart_pdf(page) to path. An existing file is replaced only once the whole document is
/// written, so a failed write leaves it as it was. Returns the failure as a Japanese message naming
/// the file, or nothing on success.
std::optional<QString> save_chart_pdf(const QString& path, const ChartPage& page);

/// Paints two charts side by side (相性) onto painter's device inside area, laid out like the
/// single chart's page: both charts' pillars, hidden stems and readings, the relations between them,
/// the day stems' names for each other and the voids.
void paint_compatibility_page(QPainter& painter, const QRectF& area, const CompatibilityContent& pair);

/// Paints the two charts as the one page of device; false when it cannot be painted on.
bool print_compatibility(QPagedPaintDevice& device, const CompatibilityContent& pair);

/// Writes the two charts' page to path as a PDF document of one A4 page, as save_chart_pdf does.
std::optional<QString> save_compatibility_pdf(const QString& path, const CompatibilityContent& pair);

} // namespace vantora::ui
