// DetailsWindow: the detail readings of the chart last computed on the main window — ten-god names,
// twelve stages and void marks of the four pillars, their relations, the void pair, the luck pillars'
// readings and the pillars of the coming years — laid out like a printed chart, columns right to
// left; beside them the months of a chosen year and the days of a chosen month (月運・日運).
#pragma once

#include "chart/chart.hpp"
#include "chart/details.hpp"
#include "core/tables.hpp"

#include <QWidget>

#include <array>
#include <optional>

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace vantora::ui {

/// What the window shows: the chart as computed (never the reversed view) and the present, whose
/// civil year opens the annual pillars.
struct DetailsContent {
    Chart chart;
    LocalDateTime now;
    /// The term tables for the months' terms; they must outlive the window's use of this content.
    /// Without them the months table stays empty.
    const TermTables* tables = nullptr;
};

class DetailsWindow : public QWidget {
    Q_OBJECT
public:
    explicit DetailsWindow(QWidget* parent = nullptr);

    /// Overwrites everything shown with the readings of content.
    void show_details(const DetailsContent& content);
    /// While the main window shows the reversed view, the title says that these readings are
    /// the chart's own (暦どおり), not the reversed ones.
    void note_reversed_view(bool reversed);

protected:
    /// Escape hides the window, as 閉じる does.
    void keyPressEvent(QKeyEvent* event) override;

private:
    /// The cells of one pillar column: stem, branch, hidden stem and the readings under them.
    struct PillarColumn {
        QLabel *kan, *shi, *zokan, *tsuhen, *ztsuhen, *juniun, *kubou;
    };
    /// The cells of one luck or annual column, top to bottom.
    struct CycleColumn {
        QLabel *head, *kan, *shi, *tsuhen, *juniun, *kubou, *kankei;
    };

    void create_header();
    void create_pillars();
    void create_summary();
    void create_relations();
    void create_ahead_panel();
    void create_luck_block();
    void create_annual_block();
    /// A block of columns right to left under a section title, with the row headings at the right.
    template <std::size_t N>
    void create_cycle_block(std::array<CycleColumn, N>& columns, const char* prefix, const char* head_name,
                            int top, const QString& title, const QString& first_heading);

    void Command1_Click();
    /// The months of the chosen year (and the days, whose year it also is).
    void spnYear_Change();
    /// The days of the chosen month.
    void cboMonth_Click();

    QLabel* txtBirthday = nullptr;
    /// The rules used when any is not the default, and the summer-time notice; empty otherwise.
    QLabel* lblRules = nullptr;
    QPushButton* Command1 = nullptr;
    std::array<PillarColumn, 4> pillars_{}; ///< year, month, day, hour
    QLabel* lblNisshu = nullptr;            ///< the day stem (日主)
    QLabel* lblKubou = nullptr;             ///< the void pair
    QLabel* lblJunGyaku = nullptr;          ///< luck direction 順行 / 逆行
    QLabel* txtKoutai = nullptr;            ///< luck-change age
    QLabel* lblDunTitle = nullptr;
    std::array<CycleColumn, kLuckPillarCount> dun_{};
    std::array<CycleColumn, kAnnualPillarCount> nen_{};
    QLabel* lblKankei = nullptr; ///< the natal relations, one after another
    QSpinBox* spnYear = nullptr;
    QComboBox* cboMonth = nullptr;
    QTableWidget* tblMonths = nullptr;
    QTableWidget* tblDays = nullptr;
    std::optional<DetailsContent> content_; ///< what the months and days are read against
};

} // namespace vantora::ui
