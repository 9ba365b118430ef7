// CompatibilityWindow (相性): two charts side by side — each one's pillars, hidden stems and
// readings — with the relations between them, the day stems' ten-god names for each other and each
// void pair against the other's year and day branches; printable on one A4 page.
#pragma once

#include "chart/chart.hpp"
#include "chart/local_time.hpp"

#include <QString>
#include <QWidget>

#include <array>

class QGridLayout;
class QLabel;
class QPushButton;

namespace vantora::ui {

/// One of the two people: the name shown over their chart and the chart as computed.
struct ComparedPerson {
    QString name;
    Chart chart;
};

/// What the window shows: the two people and the present, which fixes nothing but the date
/// printed on the page.
struct CompatibilityContent {
    ComparedPerson first, second;
    LocalDateTime now;
};

class CompatibilityWindow : public QWidget {
    Q_OBJECT
public:
    explicit CompatibilityWindow(QWidget* parent = nullptr);

    /// Overwrites everything shown with the readings of content.
    void show_pair(const CompatibilityContent& content);

private:
    /// The cells of one person's block: name, birth text, then for each pillar (hour … year,
    /// left to right) stem, branch, hidden stem, ten-god name, hidden ten-god name, stage, void.
    struct PersonBlock {
        QLabel *name, *birth;
        std::array<std::array<QLabel*, 7>, 4> cells;
    };

    void create_controls();
    PersonBlock create_person_block(QGridLayout* grid, int first_column, const char* prefix);
    void show_person(PersonBlock& block, const ComparedPerson& person);

    void btnPrint_Click();
    void btnPdf_Click();

    std::array<PersonBlock, 2> people_{};
    QLabel* lblKankei = nullptr; ///< the relations between the charts
    QLabel* lblNikkan = nullptr; ///< the day stems' names and the voids
    QPushButton* btnPrint = nullptr;
    QPushButton* btnPdf = nullptr;
    QPushButton* btnClose = nullptr;
    CompatibilityContent content_;
};

} // namespace vantora::ui
