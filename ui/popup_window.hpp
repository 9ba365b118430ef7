// frmpop01: a compact copy of the chart shown on the main window, kept in view on its own.
#pragma once

#include "chart/chart.hpp"

#include <QWidget>

#include <array>

namespace vantora::ui {

/// What the pop-up copies from the main window: the shown texts, the bold luck pillar flags and the sex.
struct PopupContent {
    ChartTexts texts;
    std::array<bool, kLuckPillarCount> dun_kan_bold{}, dun_shi_bold{};
    bool male = false;
};

class frmpop01 : public QWidget {
    Q_OBJECT
public:
    explicit frmpop01(QWidget* parent = nullptr);

    /// Overwrites every copied field with content.
    void copy_chart(const PopupContent& content);
};

} // namespace vantora::ui
