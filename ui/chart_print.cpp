#include "ui/chart_print.hpp"

#include "ui/form_kit.hpp"
#include "ui/ui_common.hpp"

#include <QBuffer>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QSaveFile>

#include <algorithm>
#include <cmath>

namespace vantora::ui {
namespace {

// Every length below is in millimetres from the top left corner of the printable area; every
// font size in points.

/// The printable area of an A4 page within its 18 mm margins.
constexpr double kMarginMm = 18;
constexpr double kPageWidthMm = 210 - 2 * kMarginMm;
constexpr double kPageHeightMm = 297 - 2 * kMarginMm;

constexpr double kMmPerInch = 25.4;
/// Resolution of the PDF document, dots per inch.
constexpr int kPdfDpi = 600;

const QColor kInk(0x1a, 0x1a, 0x1a);
const QColor kMuted(0x6b, 0x6b, 0x6b);
const QColor kRuleColour(0x9a, 0x9a, 0x9a);
const QColor kAccent(0x2b, 0x4a, 0x6f);
const QColor kLabelFill(0xf1, 0xf1, 0xee);
const QColor kCurrentFill(0xdd, 0xe5, 0xef);

/// Line widths, mm.
constexpr double kHairline = 0.15;
constexpr double kFrameLine = 0.4;

/// A painter that takes millimetres and points.
class Sheet {
public:
    Sheet(QPainter& painter, double dots_per_mm)
        : painter_(painter)
        , dpmm_(dots_per_mm) {}

    void text(const QRectF& where_mm, const QString& text, const QFont& font,
              Qt::Alignment alignment = Qt::AlignCenter, const QColor& colour = kInk) {
        painter_.setFont(font);
        painter_.setPen(colour);
        painter_.drawText(to_device(where_mm), static_cast<int>(alignment), text);
    }

    void line(double x1, double y1, double x2, double y2, double width_mm, const QColor& colour) {
        painter_.setPen(QPen(colour, width_mm * dpmm_, Qt::SolidLine, Qt::FlatCap));
        painter_.drawLine(QPointF(x1 * dpmm_, y1 * dpmm_), QPointF(x2 * dpmm_, y2 * dpmm_));
    }

    void fill(const QRectF& where_mm, const QColor& colour) {
        painter_.fillRect(to_device(where_mm), colour);
    }

    void frame(const QRectF& where_mm, double width_mm, const QColor& colour) {
        painter_.setPen(QPen(colour, width_mm * dpmm_, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter_.setBrush(Qt::NoBrush);
        // The line lies inside the box, so that a frame at the edge stays within the area.
        const double half = width_mm / 2;
        painter_.drawRect(to_device(where_mm.adjusted(half, half, -half, -half)));
    }

    /// A short wavy vertical stroke from (x, top) to (x, bottom): the mark between a luck
    /// pillar's start and end ages, as the windows show it.
    void wave(double x, double top, double bottom) {
        QPainterPath path(QPointF(x * dpmm_, top * dpmm_));
        constexpr int kSteps = 24;
        constexpr double kAmplitudeMm = 0.6;
        constexpr double kTurns = 1.5;
        for (int i = 1; i <= kSteps; ++i) {
            const double t = static_cast<double>(i) / kSteps;
            const double dx = kAmplitudeMm * std::sin(t * kTurns * 2 * M_PI);
            path.lineTo((x + dx) * dpmm_, (top + t * (bottom - top)) * dpmm_);
        }
        painter_.setPen(QPen(kRuleColour, 0.3 * dpmm_, Qt::SolidLine, Qt::RoundCap));
        painter_.setBrush(Qt::NoBrush);
        painter_.drawPath(path);
    }

private:
    QRectF to_device(const QRectF& mm) const {
        return {mm.left() * dpmm_, mm.top() * dpmm_, mm.width() * dpmm_, mm.height() * dpmm_};
    }

    QPainter& painter_;
    double dpmm_;
};

/// A section title with its accent mark and a hairline across the page; returns the top of the
/// section's body.
double section(Sheet& sheet, double top, const QString& title, const QString& note = {}) {
    sheet.fill(QRectF(0, top + 1, 1.2, 4.5), kAccent);
    sheet.text(QRectF(3, top, 80, 6.5), title, pgothic_font(11.5, true), Qt::AlignLeft | Qt::AlignVCenter);
    if (!note.isEmpty())
        sheet.text(QRectF(kPageWidthMm - 100, top, 100, 6.5), note, pgothic_font(8.5),
                   Qt::AlignRight | Qt::AlignVCenter, kMuted);
    sheet.line(0, top + 7, kPageWidthMm, top + 7, kHairline, kRuleColour);
    return top + 10;
}

/// The title line, the name (when known) and the birth text; returns the bottom of the heading.
double paint_heading(Sheet& sheet, const PopupContent& chart, const LocalDateTime& printed,
                     const std::optional<QString>& name) {
    sheet.text(QRectF(0, 0, 100, 6), QStringLiteral("四柱推命　命式表"), pgothic_font(10, true),
               Qt::AlignLeft | Qt::AlignVCenter, kAccent);
    sheet.text(QRectF(kPageWidthMm - 90, 0, 90, 6),
               QStringLiteral("作成日　%1年%2月%3日").arg(printed.year).arg(printed.month).arg(printed.day),
               pgothic_font(9), Qt::AlignRight | Qt::AlignVCenter, kMuted);
    sheet.line(0, 7.5, kPageWidthMm, 7.5, kFrameLine, kAccent);

    double top = 12;
    if (name) {
        sheet.text(QRectF(0, top, kPageWidthMm, 11), *name, pgothic_font(22, true),
                   Qt::AlignLeft | Qt::AlignVCenter);
        top += 12;
    }
    const QString birth = qtext(chart.texts.txtBirthday) + QStringLiteral("生");
    const QFont birth_font = name ? pgothic_font(14) : pgothic_font(20, true);
    const double birth_height = name ? 8 : 11;
    sheet.text(QRectF(0, top, kPageWidthMm, birth_height), birth, birth_font,
               Qt::AlignLeft | Qt::AlignVCenter);
    return top + birth_height;
}

/// The four pillars, right to left year, month, day, hour as on the window, with the row
/// headings at the right; the element in season under the month pillar.
double paint_pillars(Sheet& sheet, const ChartTexts& t, double top) {
    struct Column {
        const char* heading;
        const std::string ChartTexts::*stem;
        const std::string ChartTexts::*branch;
        const std::string ChartTexts::*hidden;
    };
    // Left to right on paper.
    static const Column kColumns[] = {
        {"時柱", &ChartTexts::hKan, &ChartTexts::hShi, &ChartTexts::lbl_hZokan},
        {"日柱", &ChartTexts::dKan, &ChartTexts::dShi, &ChartTexts::lbl_dZokan},
        {"月柱", &ChartTexts::mKan, &ChartTexts::mShi, &ChartTexts::lbl_mZokan},
        {"年柱", &ChartTexts::yKan, &ChartTexts::yShi, &ChartTexts::lbl_yZokan},
    };
    constexpr int kMonthColumn = 2;
    constexpr double kColumnWidth = 30;
    constexpr double kLabelWidth = 18;
    constexpr double kHeadHeight = 8;
    struct Row {
        const char* label;
        double height;
        double points;
        bool bold;
    };
    static const Row kRows[] = {{"天干", 18, 30, true}, {"地支", 18, 30, true}, {"蔵干", 11, 15, false}};

    const double width = 4 * kColumnWidth + kLabelWidth;
    const double left = (kPageWidthMm - width) / 2;
    const double label_left = left + 4 * kColumnWidth;

    // Column headings.
    sheet.fill(QRectF(left, top, width, kHeadHeight), kLabelFill);
    for (int c = 0; c < 4; ++c)
        sheet.text(QRectF(left + c * kColumnWidth, top, kColumnWidth, kHeadHeight),
                   QString::fromUtf8(kColumns[c].heading), pgothic_font(10, true));
    double y = top + kHeadHeight;
    sheet.line(left, y, left + width, y, kHairline, kRuleColour);

    for (std::size_t r = 0; r < std::size(kRows); ++r) {
        const Row& row = kRows[r];
        sheet.fill(QRectF(label_left, y, kLabelWidth, row.height), kLabelFill);
        sheet.text(QRectF(label_left, y, kLabelWidth, row.height), QString::fromUtf8(row.label),
                   pgothic_font(9.5), Qt::AlignCenter, kMuted);
        for (int c = 0; c < 4; ++c) {
            const Column& column = kColumns[c];
            const std::string& text = r == 0 ? t.*column.stem : r == 1 ? t.*column.branch : t.*column.hidden;
            sheet.text(QRectF(left + c * kColumnWidth, y, kColumnWidth, row.height), qtext(text),
                       pgothic_font(row.points, row.bold));
        }
        y += row.height;
        if (r + 1 < std::size(kRows)) sheet.line(left, y, left + width, y, kHairline, kRuleColour);
    }
    for (int c = 1; c <= 4; ++c)
        sheet.line(left + c * kColumnWidth, top, left + c * kColumnWidth, y, kHairline, kRuleColour);
    sheet.frame(QRectF(left, top, width, y - top), kFrameLine, kInk);

    // 旺: the element in season, under the month pillar as on the window.
    constexpr double kOuHeight = 9;
    const QRectF ou(left + kMonthColumn * kColumnWidth, y, kColumnWidth, kOuHeight);
    sheet.fill(ou, kLabelFill);
    sheet.frame(ou.adjusted(0, -kFrameLine, 0, 0), kFrameLine, kInk);
    sheet.text(QRectF(ou.left(), ou.top(), kColumnWidth / 2, kOuHeight), QStringLiteral("旺"),
               pgothic_font(9.5), Qt::AlignCenter, kMuted);
    sheet.text(QRectF(ou.left() + kColumnWidth / 2 - 3, ou.top(), kColumnWidth / 2, kOuHeight),
               qtext(t.lblOu), pgothic_font(15, true));
    return y + kOuHeight;
}

/// The eleven luck pillars right to left from the month pillar, each with its start age, the
/// wavy mark and its end age; the current one shaded and bold.
double paint_luck(Sheet& sheet, const PopupContent& chart, double top) {
    const ChartTexts& t = chart.texts;
    constexpr double kLabelWidth = 16;
    constexpr int kColumns = static_cast<int>(kLuckPillarCount);
    const double column_width = (kPageWidthMm - kLabelWidth) / kColumns;
    constexpr double kAgeHeight = 19;
    constexpr double kPillarHeight = 13;
    const double bottom = top + kAgeHeight + 2 * kPillarHeight;
    const double label_left = kPageWidthMm - kLabelWidth;
    // Column k from the right: k = 0 is the month pillar.
    const auto column_left = [&](int k) { return label_left - (k + 1) * column_width; };

    const bool shows_current = chart.bold_luck && *chart.bold_luck >= 0 && *chart.bold_luck < kColumns;
    if (shows_current)
        sheet.fill(QRectF(column_left(*chart.bold_luck), top, column_width, bottom - top), kCurrentFill);
    const char* labels[] = {"年齢", "天干", "地支"};
    const double row_top[] = {top, top + kAgeHeight, top + kAgeHeight + kPillarHeight};
    const double row_height[] = {kAgeHeight, kPillarHeight, kPillarHeight};
    sheet.fill(QRectF(label_left, top, kLabelWidth, bottom - top), kLabelFill);
    for (int r = 0; r < 3; ++r)
        sheet.text(QRectF(label_left, row_top[r], kLabelWidth, row_height[r]), QString::fromUtf8(labels[r]),
                   pgothic_font(9.5), Qt::AlignCenter, kMuted);

    for (int k = 0; k < kColumns; ++k) {
        const double x = column_left(k);
        const bool current = chart.bold_luck == k;
        if (k > 0)
            sheet.text(QRectF(x, top + 1, column_width, 5.5), qtext(t.sai1[k - 1]), gothic_font(10, current));
        sheet.wave(x + column_width / 2, top + 7, top + 12);
        sheet.text(QRectF(x, top + 12.5, column_width, 5.5), qtext(t.sai2[k]), gothic_font(10, current));
        sheet.text(QRectF(x, row_top[1], column_width, kPillarHeight), qtext(t.dun_kan[k]),
                   pgothic_font(18, current));
        sheet.text(QRectF(x, row_top[2], column_width, kPillarHeight), qtext(t.dun_shi[k]),
                   pgothic_font(18, current));
    }
    for (int r = 1; r < 3; ++r) sheet.line(0, row_top[r], kPageWidthMm, row_top[r], kHairline, kRuleColour);
    for (int k = 0; k < kColumns; ++k)
        sheet.line(column_left(k) + column_width, top, column_left(k) + column_width, bottom, kHairline,
                   kRuleColour);
    if (shows_current)
        sheet.frame(QRectF(column_left(*chart.bold_luck), top, column_width, bottom - top), kFrameLine,
                    kAccent);
    sheet.frame(QRectF(0, top, kPageWidthMm, bottom - top), kFrameLine, kInk);
    return bottom;
}

/// The texts of the chart in labelled pairs, two pairs a row.
double paint_details(Sheet& sheet, const PopupContent& chart, double top) {
    const ChartTexts& t = chart.texts;
    const QString pairs[][2] = {
        {QStringLiteral("性別"), chart.sex == Sex::male ? QStringLiteral("男") : QStringLiteral("女")},
        {QStringLiteral("満年齢"), qtext(t.txtAge) + QStringLiteral("歳")},
        {QStringLiteral("曜日"), qtext(t.txtweek)},
        {QStringLiteral("視黄経"), qtext(t.txtKoukei) + QStringLiteral("°")},
        {QStringLiteral("真太陽時"), qtext(t.txtShin)},
        {QStringLiteral("均時差"), qtext(t.txtKinjisa)},
        {QStringLiteral("大運交替"), qtext(t.txtKoutai)},
        {QStringLiteral("交替年月"), qtext(t.txtKoutaiYM)},
    };
    constexpr double kRowHeight = 8;
    constexpr double kKeyWidth = 22;
    const double half = kPageWidthMm / 2;
    const int rows = static_cast<int>(std::size(pairs) + 1) / 2;
    for (int i = 0; i < static_cast<int>(std::size(pairs)); ++i) {
        const double x = (i % 2) * half;
        const double y = top + (i / 2) * kRowHeight;
        sheet.fill(QRectF(x, y, kKeyWidth, kRowHeight), kLabelFill);
        sheet.text(QRectF(x, y, kKeyWidth, kRowHeight), pairs[i][0], pgothic_font(9.5), Qt::AlignCenter,
                   kMuted);
        sheet.text(QRectF(x + kKeyWidth + 3, y, half - kKeyWidth - 4, kRowHeight), pairs[i][1],
                   pgothic_font(11), Qt::AlignLeft | Qt::AlignVCenter);
    }
    const double bottom = top + rows * kRowHeight;
    for (int r = 1; r < rows; ++r)
        sheet.line(0, top + r * kRowHeight, kPageWidthMm, top + r * kRowHeight, kHairline, kRuleColour);
    for (const double x : {kKeyWidth, half, half + kKeyWidth})
        sheet.line(x, top, x, bottom, kHairline, kRuleColour);
    sheet.frame(QRectF(0, top, kPageWidthMm, bottom - top), kFrameLine, kInk);
    return bottom;
}

/// A framed box with ruled lines for the reader's remarks, from top to bottom.
void paint_remarks(Sheet& sheet, double top, double bottom) {
    constexpr double kLinePitch = 8;
    for (double y = top + kLinePitch; y < bottom - kLinePitch / 2; y += kLinePitch)
        sheet.line(2, y, kPageWidthMm - 2, y, kHairline, kRuleColour);
    sheet.frame(QRectF(0, top, kPageWidthMm, bottom - top), kFrameLine, kInk);
}

} // namespace

QPageLayout chart_page_layout() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter);
}

void paint_chart_page(QPainter& painter, const QRectF& area, const PopupContent& chart,
                      const LocalDateTime& printed, const std::optional<QString>& name) {
    const double dpmm = painter.device()->logicalDpiX() / kMmPerInch;
    const QSizeF design(kPageWidthMm * dpmm, kPageHeightMm * dpmm);
    const double fit = std::min({1.0, area.width() / design.width(), area.height() / design.height()});

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.translate(area.left() + (area.width() - design.width() * fit) / 2, area.top());
    painter.scale(fit, fit);
    Sheet sheet(painter, dpmm);

    double y = paint_heading(sheet, chart, printed, name);
    y = section(sheet, y + 5, QStringLiteral("命式"));
    y = paint_pillars(sheet, chart.texts, y);
    y = section(sheet, y + 5, QStringLiteral("大運"), QStringLiteral("網掛け・太字は現在の大運"));
    y = paint_luck(sheet, chart, y);
    y = section(sheet, y + 5, QStringLiteral("詳細"));
    y = paint_details(sheet, chart, y);
    constexpr double kFooterHeight = 6;
    y = section(sheet, y + 5, QStringLiteral("備考"));
    paint_remarks(sheet, y, kPageHeightMm - kFooterHeight - 1);
    sheet.text(QRectF(0, kPageHeightMm - kFooterHeight, kPageWidthMm, kFooterHeight),
               QStringLiteral("Vantora %1").arg(version_text()), pgothic_font(8),
               Qt::AlignRight | Qt::AlignBottom, kMuted);
    painter.restore();
}

bool print_chart(QPagedPaintDevice& device, const PopupContent& chart, const LocalDateTime& printed,
                 const std::optional<QString>& name) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    paint_chart_page(painter, QRectF(0, 0, device.width(), device.height()), chart, printed, name);
    return painter.end();
}

QByteArray chart_pdf(const PopupContent& chart, const LocalDateTime& printed,
                     const std::optional<QString>& name) {
    QByteArray document;
    QBuffer buffer(&document);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(kPdfDpi);
    writer.setPageLayout(chart_page_layout());
    writer.setCreator(QStringLiteral("Vantora %1").arg(version_text()));
    writer.setTitle(name ? *name : qtext(chart.texts.txtBirthday));
    print_chart(writer, chart, printed, name);
    return document;
}

std::optional<QString> save_chart_pdf(const QString& path, const PopupContent& chart,
                                      const LocalDateTime& printed, const std::optional<QString>& name) {
    const QByteArray document = chart_pdf(chart, printed, name);
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(document) == document.size() && file.commit())
        return std::nullopt;
    return QStringLiteral("PDFを保存できませんでした。\n%1\n（%2）")
        .arg(QFileInfo(path).absoluteFilePath(), file.errorString());
}

} // namespace vantora::ui
