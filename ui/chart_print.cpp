#include "ui/chart_print.hpp"

#include "chart/compatibility.hpp"
#include "chart/details.hpp"
#include "core/names.hpp"
#include "ui/form_kit.hpp"
#include "ui/ui_common.hpp"

#include <QBuffer>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QSaveFile>

#include <cerrno>

#include <algorithm>
#include <cmath>
#include <vector>

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
    /// inked false: a sheet that only measures, painting nothing.
    Sheet(QPainter& painter, double dots_per_mm, bool inked = true)
        : painter_(painter)
        , dpmm_(dots_per_mm)
        , inked_(inked) {}

    void text(const QRectF& where_mm, const QString& text, const QFont& font,
              Qt::Alignment alignment = Qt::AlignCenter, const QColor& colour = kInk) {
        if (!inked_) return;
        painter_.setFont(font);
        painter_.setPen(colour);
        painter_.drawText(to_device(where_mm), static_cast<int>(alignment), text);
    }

    void line(double x1, double y1, double x2, double y2, double width_mm, const QColor& colour) {
        if (!inked_) return;
        painter_.setPen(QPen(colour, width_mm * dpmm_, Qt::SolidLine, Qt::FlatCap));
        painter_.drawLine(QPointF(x1 * dpmm_, y1 * dpmm_), QPointF(x2 * dpmm_, y2 * dpmm_));
    }

    void fill(const QRectF& where_mm, const QColor& colour) {
        if (!inked_) return;
        painter_.fillRect(to_device(where_mm), colour);
    }

    void frame(const QRectF& where_mm, double width_mm, const QColor& colour) {
        if (!inked_) return;
        painter_.setPen(QPen(colour, width_mm * dpmm_, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter_.setBrush(Qt::NoBrush);
        // The line lies inside the box, so that a frame at the edge stays within the area.
        const double half = width_mm / 2;
        painter_.drawRect(to_device(where_mm.adjusted(half, half, -half, -half)));
    }

    /// A short wavy vertical stroke from (x, top) to (x, bottom): the mark between a luck
    /// pillar's start and end ages, as the windows show it.
    void wave(double x, double top, double bottom) {
        if (!inked_) return;
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
    bool inked_;
};

/// A section title with its accent mark and a hairline across the page; returns the top of the
/// section's body.
double section(Sheet& sheet, double top, const QString& title, const QString& note = {}) {
    sheet.fill(QRectF(0, top + 0.8, 1.2, 4), kAccent);
    sheet.text(QRectF(3, top, 80, 5.5), title, pgothic_font(11, true), Qt::AlignLeft | Qt::AlignVCenter);
    if (!note.isEmpty())
        sheet.text(QRectF(kPageWidthMm - 120, top, 120, 5.5), note, pgothic_font(8.5),
                   Qt::AlignRight | Qt::AlignVCenter, kMuted);
    sheet.line(0, top + 6, kPageWidthMm, top + 6, kHairline, kRuleColour);
    return top + 7.5;
}

/// The title line with the date of printing; returns the top below it.
double paint_title(Sheet& sheet, const QString& title, const LocalDateTime& printed) {
    sheet.text(QRectF(0, 0, 100, 6), title, pgothic_font(10, true), Qt::AlignLeft | Qt::AlignVCenter,
               kAccent);
    sheet.text(QRectF(kPageWidthMm - 90, 0, 90, 6),
               QStringLiteral("作成日　%1年%2月%3日").arg(printed.year).arg(printed.month).arg(printed.day),
               pgothic_font(9), Qt::AlignRight | Qt::AlignVCenter, kMuted);
    sheet.line(0, 7.5, kPageWidthMm, 7.5, kFrameLine, kAccent);
    return 10;
}

/// The room the footer keeps at the bottom of the page, mm.
constexpr double kFooterSpace = 7;

/// The gap above each section, mm.
constexpr double kSectionGap = 3;

/// The birth line as the window shows it; "生" closes a line that ends in a time, not one that ends
/// in "出生時間不明".
QString birth_line(const ChartTexts& t) {
    const QString birth = qtext(t.txtBirthday);
    return birth.endsWith(QStringLiteral("不明")) ? birth : birth + QStringLiteral("生");
}

/// The title line, the name (when known), the birth text and the birth place; returns the bottom
/// of the heading.
double paint_heading(Sheet& sheet, const ChartPage& page) {
    double top = paint_title(sheet, QStringLiteral("四柱推命　命式表"), page.printed);
    if (page.name) {
        sheet.text(QRectF(0, top, kPageWidthMm, 10), *page.name, pgothic_font(20, true),
                   Qt::AlignLeft | Qt::AlignVCenter);
        top += 10;
    }
    const QFont birth_font = page.name ? pgothic_font(13) : pgothic_font(18, true);
    const double birth_height = page.name ? 7 : 9;
    sheet.text(QRectF(0, top, kPageWidthMm, birth_height), birth_line(page.chart.texts), birth_font,
               Qt::AlignLeft | Qt::AlignVCenter);
    top += birth_height;
    if (!page.birth_place.isEmpty()) {
        sheet.text(QRectF(0, top, kPageWidthMm, 5), page.birth_place, pgothic_font(9.5),
                   Qt::AlignLeft | Qt::AlignVCenter, kMuted);
        top += 5;
    }
    // The rules used when any is not the default.
    const std::string rules = page.computed ? applied_rules_text(page.computed->rules) : std::string();
    if (!rules.empty()) {
        sheet.text(QRectF(0, top, kPageWidthMm, 5), qtext(rules), pgothic_font(9.5),
                   Qt::AlignLeft | Qt::AlignVCenter, kMuted);
        top += 5;
    }
    return top;
}

/// The text of a pillar cell: an unknown hour's "□" is left blank, its stem cell saying "不明".
QString pillar_cell(const std::string& text, bool unknown_hour, bool stem_row) {
    if (!unknown_hour) return qtext(text);
    return stem_row ? QStringLiteral("不明") : QString();
}

/// The four pillars, right to left year, month, day, hour as on the window, with the row
/// headings at the right; under them the detail readings of a computed chart and the element
/// in season under the month pillar.
double paint_pillars(Sheet& sheet, const ChartTexts& t, const std::optional<ChartDetails>& details,
                     double top) {
    struct Column {
        const char* heading;
        PillarPlace place;
        const std::string ChartTexts::*stem;
        const std::string ChartTexts::*branch;
        const std::string ChartTexts::*hidden;
    };
    // Left to right on paper.
    static const Column kColumns[] = {
        {"時柱", kHourPillar, &ChartTexts::hKan, &ChartTexts::hShi, &ChartTexts::lbl_hZokan},
        {"日柱", kDayPillar, &ChartTexts::dKan, &ChartTexts::dShi, &ChartTexts::lbl_dZokan},
        {"月柱", kMonthPillar, &ChartTexts::mKan, &ChartTexts::mShi, &ChartTexts::lbl_mZokan},
        {"年柱", kYearPillar, &ChartTexts::yKan, &ChartTexts::yShi, &ChartTexts::lbl_yZokan},
    };
    constexpr int kMonthColumn = 2;
    constexpr double kColumnWidth = 30;
    constexpr double kLabelWidth = 22;
    constexpr double kHeadHeight = 7;
    struct Row {
        const char* label;
        double height;
        double points;
        bool bold;
    };
    static const Row kRows[] = {{"天干", 12, 26, true},         {"地支", 12, 26, true},
                                {"蔵干", 8, 13, false},         {"通変星", 5.5, 10, false},
                                {"蔵干通変星", 5.5, 10, false}, {"十二運", 5.5, 10, false},
                                {"空亡", 5.5, 10, false}};
    constexpr std::size_t kTextRows = 3; // the rows read from the texts; the rest from the details
    const std::size_t rows = details ? std::size(kRows) : kTextRows;
    // The hour cells of an unknown hour (its placeholder stem) are left empty.
    const bool unknown_hour = t.hKan == "□";

    const double width = 4 * kColumnWidth + kLabelWidth;
    const double left = (kPageWidthMm - width) / 2;
    const double label_left = left + 4 * kColumnWidth;

    sheet.fill(QRectF(left, top, width, kHeadHeight), kLabelFill);
    for (int c = 0; c < 4; ++c)
        sheet.text(QRectF(left + c * kColumnWidth, top, kColumnWidth, kHeadHeight),
                   QString::fromUtf8(kColumns[c].heading), pgothic_font(10, true));
    double y = top + kHeadHeight;
    sheet.line(left, y, left + width, y, kHairline, kRuleColour);

    for (std::size_t r = 0; r < rows; ++r) {
        const Row& row = kRows[r];
        sheet.fill(QRectF(label_left, y, kLabelWidth, row.height), kLabelFill);
        sheet.text(QRectF(label_left, y, kLabelWidth, row.height), QString::fromUtf8(row.label),
                   pgothic_font(r < kTextRows ? 9.5 : 8.5), Qt::AlignCenter, kMuted);
        for (int c = 0; c < 4; ++c) {
            const Column& column = kColumns[c];
            const bool unknown = unknown_hour && column.place == kHourPillar;
            QString text;
            if (r < kTextRows) {
                const std::string& shown = r == 0   ? t.*column.stem
                                           : r == 1 ? t.*column.branch
                                                    : t.*column.hidden;
                text = pillar_cell(shown, unknown, r == 0);
            } else if (!unknown) {
                const PillarDetails& p = details->pillars[column.place];
                const std::string_view reading[] = {p.stem_god, p.hidden_god, p.stage, p.is_void ? "○" : ""};
                text = qtext(reading[r - kTextRows]);
            }
            const bool muted = unknown && r == 0;
            sheet.text(QRectF(left + c * kColumnWidth, y, kColumnWidth, row.height), text,
                       pgothic_font(muted ? 10 : row.points, row.bold && !muted), Qt::AlignCenter,
                       muted ? kMuted : kInk);
        }
        y += row.height;
        if (r + 1 < rows)
            sheet.line(left, y, left + width, y, r + 1 == kTextRows ? kFrameLine : kHairline,
                       r + 1 == kTextRows ? kInk : kRuleColour);
    }
    for (int c = 1; c <= 4; ++c)
        sheet.line(left + c * kColumnWidth, top, left + c * kColumnWidth, y, kHairline, kRuleColour);
    sheet.frame(QRectF(left, top, width, y - top), kFrameLine, kInk);

    // 旺: the element in season, under the month pillar as on the window ("土旺").
    constexpr double kOuHeight = 7;
    const QRectF ou(left + kMonthColumn * kColumnWidth, y, kColumnWidth, kOuHeight);
    sheet.fill(ou, kLabelFill);
    sheet.frame(ou.adjusted(0, -kFrameLine, 0, 0), kFrameLine, kInk);
    sheet.text(ou, qtext(t.lblOu) + QStringLiteral("旺"), pgothic_font(13, true));
    return y + kOuHeight;
}

/// The natal relations, three to a line under a label; returns the bottom.
double paint_relations(Sheet& sheet, const ChartDetails& details, double top) {
    constexpr double kLineHeight = 5.5, kLabelWidth = 16;
    constexpr std::size_t kPerLine = 3;
    const double column_width = (kPageWidthMm - kLabelWidth) / kPerLine;
    const std::size_t lines = std::max<std::size_t>(1, (details.relations.size() + kPerLine - 1) / kPerLine);
    const double bottom = top + static_cast<double>(lines) * kLineHeight;
    sheet.fill(QRectF(0, top, kLabelWidth, bottom - top), kLabelFill);
    sheet.text(QRectF(0, top, kLabelWidth, bottom - top), QStringLiteral("関係"), pgothic_font(9.5),
               Qt::AlignCenter, kMuted);
    if (details.relations.empty())
        sheet.text(QRectF(kLabelWidth + 3, top, column_width, kLineHeight), QStringLiteral("なし"),
                   pgothic_font(10), Qt::AlignLeft | Qt::AlignVCenter);
    for (std::size_t k = 0; k < details.relations.size(); ++k)
        sheet.text(QRectF(kLabelWidth + 3 + static_cast<double>(k % kPerLine) * column_width,
                          top + static_cast<double>(k / kPerLine) * kLineHeight, column_width, kLineHeight),
                   QString::fromStdString(natal_relation_text(details.relations[k])), pgothic_font(10),
                   Qt::AlignLeft | Qt::AlignVCenter);
    sheet.frame(QRectF(0, top, kPageWidthMm, bottom - top), kFrameLine, kInk);
    return bottom;
}

/// Rows under a block of pillars: a heading at the right and one text per column, right to left.
struct ReadingRow {
    const char* label;
    std::vector<QString> cells; ///< column 0 at the right
};

/// The eleven luck pillars right to left from the month pillar, each with its start age, the
/// wavy mark and its end age, and for a computed chart its readings; the current one shaded
/// and bold.
double paint_luck(Sheet& sheet, const ChartPage& page, const std::optional<ChartDetails>& details,
                  double top) {
    const PopupContent& chart = page.chart;
    const ChartTexts& t = chart.texts;
    constexpr double kLabelWidth = 16;
    constexpr int kColumns = static_cast<int>(kLuckPillarCount);
    const double column_width = (kPageWidthMm - kLabelWidth) / kColumns;
    constexpr double kAgeHeight = 16;
    constexpr double kPillarHeight = 10;
    constexpr double kReadingHeight = 5;
    std::vector<ReadingRow> readings;
    if (details) {
        ReadingRow gods{"通変星", {}}, stages{"十二運", {}}, voids{"空亡", {}};
        for (const LuckDetails& l : details->luck) {
            gods.cells.push_back(qtext(l.stem_god));
            stages.cells.push_back(qtext(l.stage));
            voids.cells.push_back(l.is_void ? QStringLiteral("○") : QString());
        }
        readings = {gods, stages, voids};
    }
    const double pillars_bottom = top + kAgeHeight + 2 * kPillarHeight;
    const double bottom = pillars_bottom + static_cast<double>(readings.size()) * kReadingHeight;
    const double label_left = kPageWidthMm - kLabelWidth;
    // Column k from the right: k = 0 is the month pillar.
    const auto column_left = [&](int k) { return label_left - (k + 1) * column_width; };

    const bool shows_current = chart.bold_luck && *chart.bold_luck >= 0 && *chart.bold_luck < kColumns;
    if (shows_current)
        sheet.fill(QRectF(column_left(*chart.bold_luck), top, column_width, bottom - top), kCurrentFill);
    std::vector<std::pair<const char*, double>> labels{
        {"年齢", kAgeHeight}, {"天干", kPillarHeight}, {"地支", kPillarHeight}};
    for (const ReadingRow& row : readings) labels.emplace_back(row.label, kReadingHeight);
    sheet.fill(QRectF(label_left, top, kLabelWidth, bottom - top), kLabelFill);
    double y = top;
    for (std::size_t r = 0; r < labels.size(); ++r) {
        sheet.text(QRectF(label_left, y, kLabelWidth, labels[r].second), QString::fromUtf8(labels[r].first),
                   pgothic_font(r < 3 ? 9.5 : 8.5), Qt::AlignCenter, kMuted);
        if (r > 0) sheet.line(0, y, kPageWidthMm, y, kHairline, kRuleColour);
        y += labels[r].second;
    }

    // A first change before age 1 (both ages "0"): pillar 0 ends at the change's months.
    const std::optional<std::string> early =
        page.computed ? early_change_age_text(*page.computed) : std::nullopt;
    for (int k = 0; k < kColumns; ++k) {
        const double x = column_left(k);
        const bool current = chart.bold_luck == k;
        if (k > 0)
            sheet.text(QRectF(x, top + 0.5, column_width, 5), qtext(t.sai1[k - 1]), gothic_font(10, current));
        sheet.wave(x + column_width / 2, top + 6, top + 10);
        const QString end = k == 0 && early ? QString::fromStdString(*early) : qtext(t.sai2[k]);
        sheet.text(QRectF(x, top + 10.5, column_width, 5), end,
                   gothic_font(end.size() > 3 ? 8 : 10, current));
        sheet.text(QRectF(x, top + kAgeHeight, column_width, kPillarHeight), qtext(t.dun_kan[k]),
                   pgothic_font(16, current));
        sheet.text(QRectF(x, top + kAgeHeight + kPillarHeight, column_width, kPillarHeight),
                   qtext(t.dun_shi[k]), pgothic_font(16, current));
        for (std::size_t r = 0; r < readings.size(); ++r)
            sheet.text(QRectF(x, pillars_bottom + static_cast<double>(r) * kReadingHeight, column_width,
                              kReadingHeight),
                       readings[r].cells[static_cast<std::size_t>(k)], pgothic_font(8.5));
    }
    for (int k = 0; k < kColumns; ++k)
        sheet.line(column_left(k) + column_width, top, column_left(k) + column_width, bottom, kHairline,
                   kRuleColour);
    if (shows_current)
        sheet.frame(QRectF(column_left(*chart.bold_luck), top, column_width, bottom - top), kFrameLine,
                    kAccent);
    sheet.frame(QRectF(0, top, kPageWidthMm, bottom - top), kFrameLine, kInk);
    return bottom;
}

/// The ten annual pillars right to left from the printing year, with their readings.
double paint_annual(Sheet& sheet, const ChartDetails& details, double top) {
    constexpr double kLabelWidth = 16;
    constexpr double kYearHeight = 5.5, kPillarHeight = 7.5, kReadingHeight = 5;
    constexpr int kColumns = static_cast<int>(kAnnualPillarCount);
    const double column_width = (kPageWidthMm - kLabelWidth) / kColumns;
    const double label_left = kPageWidthMm - kLabelWidth;
    const struct {
        const char* label;
        double height;
    } rows[] = {{"年", kYearHeight},
                {"干支", kPillarHeight},
                {"通変星", kReadingHeight},
                {"十二運", kReadingHeight},
                {"空亡", kReadingHeight}};
    double y = top;
    sheet.fill(QRectF(label_left, top, kLabelWidth, kYearHeight + kPillarHeight + 3 * kReadingHeight),
               kLabelFill);
    for (std::size_t r = 0; r < std::size(rows); ++r) {
        sheet.text(QRectF(label_left, y, kLabelWidth, rows[r].height), QString::fromUtf8(rows[r].label),
                   pgothic_font(r < 2 ? 9.5 : 8.5), Qt::AlignCenter, kMuted);
        if (r > 0) sheet.line(0, y, kPageWidthMm, y, kHairline, kRuleColour);
        for (int k = 0; k < kColumns; ++k) {
            const AnnualPillar& a = details.years[static_cast<std::size_t>(k)];
            const QString cells[] = {QString::number(a.year),
                                     qtext(stem_name[static_cast<std::size_t>(a.stem)]) +
                                         qtext(branch_name[static_cast<std::size_t>(a.branch)]),
                                     qtext(a.stem_god), qtext(a.stage),
                                     a.is_void ? QStringLiteral("○") : QString()};
            sheet.text(QRectF(label_left - (k + 1) * column_width, y, column_width, rows[r].height), cells[r],
                       r == 1 ? pgothic_font(13) : gothic_font(r == 0 ? 9 : 8.5));
        }
        y += rows[r].height;
    }
    for (int k = 1; k <= kColumns; ++k)
        sheet.line(label_left - k * column_width + column_width, top,
                   label_left - k * column_width + column_width, y, kHairline, kRuleColour);
    sheet.frame(QRectF(0, top, kPageWidthMm, y - top), kFrameLine, kInk);
    return y;
}

/// The texts of the chart in labelled pairs, three pairs a row.
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
    constexpr int kPerRow = 3;
    constexpr double kRowHeight = 6.5;
    constexpr double kKeyWidth = 15;
    const double third = kPageWidthMm / kPerRow;
    const int rows = (static_cast<int>(std::size(pairs)) + kPerRow - 1) / kPerRow;
    for (int i = 0; i < static_cast<int>(std::size(pairs)); ++i) {
        const double x = (i % kPerRow) * third;
        const double y = top + (i / kPerRow) * kRowHeight;
        sheet.fill(QRectF(x, y, kKeyWidth, kRowHeight), kLabelFill);
        sheet.text(QRectF(x, y, kKeyWidth, kRowHeight), pairs[i][0], pgothic_font(9), Qt::AlignCenter,
                   kMuted);
        sheet.text(QRectF(x + kKeyWidth + 1.5, y, third - kKeyWidth - 2, kRowHeight), pairs[i][1],
                   pgothic_font(9), Qt::AlignLeft | Qt::AlignVCenter);
    }
    const double bottom = top + rows * kRowHeight;
    for (int r = 1; r < rows; ++r)
        sheet.line(0, top + r * kRowHeight, kPageWidthMm, top + r * kRowHeight, kHairline, kRuleColour);
    for (int c = 0; c < kPerRow; ++c)
        for (const double x : {c * third + kKeyWidth, (c + 1) * third})
            if (x < kPageWidthMm) sheet.line(x, top, x, bottom, kHairline, kRuleColour);
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

/// One person's block of the two-chart page: the name, the birth text and the pillars with their
/// readings, hour to year left to right, in width mm from left, and when label_width > 0 the row
/// headings in that width to its right; returns the bottom.
double paint_person(Sheet& sheet, const ComparedPerson& person, const LocalDateTime& now, double left,
                    double width, double top, double label_width = 0) {
    const ChartTexts& t = person.chart.texts;
    const ChartDetails d = chart_details(person.chart, now);
    sheet.text(QRectF(left, top, width, 8), person.name, pgothic_font(15, true),
               Qt::AlignLeft | Qt::AlignVCenter);
    sheet.text(QRectF(left, top + 8, width, 6), qtext(t.txtBirthday), pgothic_font(10),
               Qt::AlignLeft | Qt::AlignVCenter);
    const double column = width / 4;
    const struct {
        double height, points;
        bool bold;
    } rows[] = {{6, 9.5, true},  {11, 22, true},  {11, 22, true},  {7, 12, false},
                {5.5, 9, false}, {5.5, 9, false}, {5.5, 9, false}, {5.5, 9, false}};
    static constexpr const char* kTitles[] = {"時柱", "日柱", "月柱", "年柱"};
    static constexpr PillarPlace kPlaces[] = {kHourPillar, kDayPillar, kMonthPillar, kYearPillar};
    const std::array<std::array<const std::string*, 3>, 4> shown{{{&t.yKan, &t.yShi, &t.lbl_yZokan},
                                                                  {&t.mKan, &t.mShi, &t.lbl_mZokan},
                                                                  {&t.dKan, &t.dShi, &t.lbl_dZokan},
                                                                  {&t.hKan, &t.hShi, &t.lbl_hZokan}}};
    const double table_top = top + 15;
    sheet.fill(QRectF(left, table_top, width, rows[0].height), kLabelFill);
    static constexpr const char* kRowTitles[] = {"",       "天干",       "地支",   "蔵干",
                                                 "通変星", "蔵干通変星", "十二運", "空亡"};
    double y = table_top;
    for (std::size_t r = 0; r < std::size(rows); ++r) {
        if (label_width > 0)
            sheet.text(QRectF(left + width, y, label_width, rows[r].height), QString::fromUtf8(kRowTitles[r]),
                       pgothic_font(7), Qt::AlignCenter, kMuted);
        for (int c = 0; c < 4; ++c) {
            const PillarPlace place = kPlaces[c];
            const PillarDetails& p = d.pillars[place];
            const QString texts[] = {QString::fromUtf8(kTitles[c]),
                                     qtext(*shown[place][0]),
                                     qtext(*shown[place][1]),
                                     qtext(*shown[place][2]),
                                     qtext(p.stem_god),
                                     qtext(p.hidden_god),
                                     qtext(p.stage),
                                     p.is_void ? QStringLiteral("○") : QString()};
            sheet.text(QRectF(left + c * column, y, column, rows[r].height), texts[r],
                       pgothic_font(rows[r].points, rows[r].bold));
        }
        y += rows[r].height;
        if (r + 1 < std::size(rows)) sheet.line(left, y, left + width, y, kHairline, kRuleColour);
    }
    for (int c = 1; c < 4; ++c)
        sheet.line(left + c * column, table_top, left + c * column, y, kHairline, kRuleColour);
    sheet.frame(QRectF(left, table_top, width, y - table_top), kFrameLine, kInk);
    return y;
}

/// Lines of text, per_row to a row of rows 6 mm high; returns the bottom.
double paint_lines(Sheet& sheet, const std::vector<std::string>& lines, int per_row, double top) {
    constexpr double kRowHeight = 6;
    const double column = kPageWidthMm / per_row;
    const int count = std::max(1, static_cast<int>(lines.size()));
    const double bottom = top + ((count + per_row - 1) / per_row) * kRowHeight;
    if (lines.empty())
        sheet.text(QRectF(3, top, column, kRowHeight), QStringLiteral("なし"), pgothic_font(10),
                   Qt::AlignLeft | Qt::AlignVCenter);
    for (int k = 0; k < static_cast<int>(lines.size()); ++k)
        sheet.text(
            QRectF(3 + (k % per_row) * column, top + (k / per_row) * kRowHeight, column - 3, kRowHeight),
            QString::fromStdString(lines[static_cast<std::size_t>(k)]), pgothic_font(10),
            Qt::AlignLeft | Qt::AlignVCenter);
    sheet.frame(QRectF(0, top, kPageWidthMm, bottom - top), kFrameLine, kInk);
    return bottom;
}

/// Paints on painter within area at the page's design size, shrunk to fit a smaller area, with the
/// version in the footer; paint lays the page out on a sheet and returns how far down its content
/// reaches, mm.
template <typename Paint> void paint_page(QPainter& painter, const QRectF& area, Paint paint) {
    const double dpmm = painter.device()->logicalDpiX() / kMmPerInch;
    const QSizeF design(kPageWidthMm * dpmm, kPageHeightMm * dpmm);
    const double fit = std::min({1.0, area.width() / design.width(), area.height() / design.height()});
    // A first pass measures how far down the content reaches: content that would run into the
    // footer (a long heading with many relations) is drawn that much smaller; the footer stays.
    Sheet measure(painter, dpmm, false);
    const double squeeze = std::min(1.0, (kPageHeightMm - kFooterSpace) / paint(measure));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.translate(area.left() + (area.width() - design.width() * fit) / 2, area.top());
    painter.scale(fit, fit);
    Sheet sheet(painter, dpmm);
    constexpr double kFooterHeight = 6;
    sheet.text(QRectF(0, kPageHeightMm - kFooterHeight, kPageWidthMm, kFooterHeight),
               QStringLiteral("Vantora %1").arg(version_text()), pgothic_font(8),
               Qt::AlignRight | Qt::AlignBottom, kMuted);
    painter.translate(design.width() * (1 - squeeze) / 2, 0);
    painter.scale(squeeze, squeeze);
    paint(sheet);
    painter.restore();
}

/// A one-page PDF document painted by print at 600 dots per inch.
template <typename Print> QByteArray pdf_document(const QString& title, Print print) {
    QByteArray document;
    QBuffer buffer(&document);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(kPdfDpi);
    writer.setPageLayout(chart_page_layout());
    writer.setCreator(QStringLiteral("Vantora %1").arg(version_text()));
    writer.setTitle(title);
    print(writer);
    return document;
}

/// Writes document to path, replacing a file only once the whole document is written.
std::optional<QString> save_document(const QString& path, const QByteArray& document) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(document) == document.size() && file.commit())
        return std::nullopt;
    const int error_number = errno;
    return QStringLiteral("PDFを保存できませんでした。\n%1\n（%2）")
        .arg(QFileInfo(path).absoluteFilePath(), file_error_reason(error_number));
}

} // namespace

QPageLayout chart_page_layout() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter);
}

QString birth_place_text(const QString& place, const QString& minutes, const QString& seconds) {
    const QString offset = QStringLiteral("時差 %1分%2秒").arg(minutes, seconds);
    return place.isEmpty() ? offset : QStringLiteral("%1（%2）").arg(place, offset);
}

void paint_chart_page(QPainter& painter, const QRectF& area, const ChartPage& page) {
    paint_page(painter, area, [&page](Sheet& sheet) {
        const std::optional<ChartDetails> details =
            page.computed ? std::optional(chart_details(*page.computed, page.printed)) : std::nullopt;
        double y = paint_heading(sheet, page);
        y = section(sheet, y + kSectionGap, QStringLiteral("命式"));
        y = paint_pillars(sheet, page.chart.texts, details, y);
        if (details) y = paint_relations(sheet, *details, y + 2);
        y = section(sheet, y + kSectionGap, QStringLiteral("大運"),
                    QStringLiteral("年齢は満年齢（出生時0歳）・網掛け太字は現在の大運"));
        y = paint_luck(sheet, page, details, y);
        if (details) {
            y = section(sheet, y + kSectionGap, QStringLiteral("年運"),
                        QStringLiteral("各年の干支は立春（2月4日頃）から"));
            y = paint_annual(sheet, *details, y);
        }
        y = section(sheet, y + kSectionGap, QStringLiteral("詳細"));
        y = paint_details(sheet, page.chart, y);
        constexpr double kLeastRemarks = 16; // a title and one ruled line
        if (kPageHeightMm - kFooterSpace - y >= kLeastRemarks)
            paint_remarks(sheet, section(sheet, y + kSectionGap, QStringLiteral("備考")),
                          kPageHeightMm - kFooterSpace);
        return y;
    });
}

void paint_compatibility_page(QPainter& painter, const QRectF& area, const CompatibilityContent& pair) {
    paint_page(painter, area, [&pair](Sheet& sheet) {
        double y = paint_title(sheet, QStringLiteral("四柱推命　相性表"), pair.now);
        constexpr double kMiddle = 14; // between the two blocks
        const double width = (kPageWidthMm - kMiddle) / 2;
        y = section(sheet, y + kSectionGap, QStringLiteral("二人の命式"));
        paint_person(sheet, pair.first, pair.now, 0, width, y, kMiddle);
        y = paint_person(sheet, pair.second, pair.now, width + kMiddle, width, y);
        const std::string a = pair.first.name.toStdString(), b = pair.second.name.toStdString();
        const Compatibility c = compare_charts(pair.first.chart, pair.second.chart);
        std::vector<std::string> relations;
        for (const Relation& r : c.relations) relations.push_back(between_relation_text(r, a, b));
        y = section(sheet, y + kSectionGap, QStringLiteral("二人の間の関係"));
        y = paint_lines(sheet, relations, 2, y);
        y = section(sheet, y + kSectionGap, QStringLiteral("日干と空亡"));
        y = paint_lines(sheet, compatibility_lines(c, pair.first.chart, pair.second.chart, a, b), 1, y);
        return y;
    });
}

bool print_chart(QPagedPaintDevice& device, const ChartPage& page) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    paint_chart_page(painter, QRectF(0, 0, device.width(), device.height()), page);
    return painter.end();
}

QByteArray chart_pdf(const ChartPage& page) {
    return pdf_document(page.name ? *page.name : qtext(page.chart.texts.txtBirthday),
                        [&page](QPdfWriter& writer) { print_chart(writer, page); });
}

std::optional<QString> save_chart_pdf(const QString& path, const ChartPage& page) {
    return save_document(path, chart_pdf(page));
}

bool print_compatibility(QPagedPaintDevice& device, const CompatibilityContent& pair) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    paint_compatibility_page(painter, QRectF(0, 0, device.width(), device.height()), pair);
    return painter.end();
}

std::optional<QString> save_compatibility_pdf(const QString& path, const CompatibilityContent& pair) {
    return save_document(path,
                         pdf_document(QStringLiteral("相性 %1・%2").arg(pair.first.name, pair.second.name),
                                      [&pair](QPdfWriter& writer) { print_compatibility(writer, pair); }));
}

} // namespace vantora::ui
