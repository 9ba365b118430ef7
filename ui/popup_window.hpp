// PopupWindow: a compact copy of the chart shown on the main window, kept in view on its own.
#pragma once

#include "chart/chart.hpp"

#include <QWidget>

#include <optional>

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
    QPushButton* Command1 = nullptr;
};

} // namespace vantora::ui
