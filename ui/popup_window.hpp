// PopupWindow: a compact copy of the chart shown on the main window, kept in view on its own.
#pragma once

#include "chart/chart.hpp"

#include <QWidget>

#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vantora::ui {

/// What the pop-up and the printed page copy from the main window: the shown texts, the bold luck
/// pillar and the sex.
struct PopupContent {
    ChartTexts texts;
    std::optional<int> bold_luck; ///< luck pillar 0..10 in bold, if any
    Sex sex = Sex::female;
    std::string notice; ///< a notice about the chart (a clock time in summer time); empty when none
};

class PopupWindow : public QWidget {
    Q_OBJECT
public:
    explicit PopupWindow(QWidget* parent = nullptr);

    /// Overwrites every copied field with content.
    void copy_chart(const PopupContent& content);

private:
    void create_header();
    void create_pillars();
    void create_luck_block();

    void Command1_Click();

    QLineEdit* txtMW = nullptr;
    /// The notice, on two lines below the chart; the window grows by them only while there is one.
    QLabel* lblNotice = nullptr;
    QPushButton* Command1 = nullptr;
};

} // namespace vantora::ui
