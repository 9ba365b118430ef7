// The printed chart: one A4 portrait page of the chart as the main window shows it (the pillar
// block with hidden stems and 旺, the luck pillars with their ages and the current one in bold,
// the texts), painted with QPainter in millimetres and points at the device's own resolution,
// for the printer and for a PDF file alike.
#pragma once

#include "chart/local_time.hpp"
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

/// Paints the chart onto painter's device inside area (device pixels; the printable part of
/// the page). The layout is 174 × 261 mm, the A4 page within its margins; a smaller area
/// shrinks it to fit, a wider one centres it. chart holds the texts exactly as the main window
/// shows them; printed is the date written in the page's corner; name, when given (a person of
/// the chart book), heads the page above the birth text.
void paint_chart_page(QPainter& painter, const QRectF& area, const PopupContent& chart,
                      const LocalDateTime& printed, const std::optional<QString>& name = std::nullopt);

/// Paints the chart as the one page of device (a printer or a PDF writer, its page layout
/// already set). False when the device cannot be painted on (an output that cannot be opened).
bool print_chart(QPagedPaintDevice& device, const PopupContent& chart, const LocalDateTime& printed,
                 const std::optional<QString>& name = std::nullopt);

/// The chart as a PDF document of one A4 page (chart_page_layout, 600 dots per inch).
QByteArray chart_pdf(const PopupContent& chart, const LocalDateTime& printed,
                     const std::optional<QString>& name = std::nullopt);

/// Writes chart_pdf(chart, printed, name) to path. An existing file is replaced only once the
/// whole document is written, so a failed write leaves it as it was. Returns the failure as a
/// Japanese message naming the file, or nothing on success.
std::optional<QString> save_chart_pdf(const QString& path, const PopupContent& chart,
                                      const LocalDateTime& printed,
                                      const std::optional<QString>& name = std::nullopt);

} // namespace vantora::ui
