// frmpop01: a compact copy of the chart shown on the main window, kept in view on its own.
#pragma once

#include "chart/chart.hpp"

#include <QWidget>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

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

private:
    void create_header();
    void create_pillars();
    void create_luck_block();

    void Command1_Click();

    QLineEdit* txtBirthday = nullptr;
    QLineEdit* txtMW = nullptr;
    QLineEdit* txtKoutai = nullptr;
    QLineEdit* txtKoutaiYM = nullptr;
    QLineEdit* txtKoukei = nullptr;
    QLineEdit* txtAge = nullptr;
    QPushButton* Command1 = nullptr;

    QLabel* yKan = nullptr;
    QLabel* yShi = nullptr;
    QLabel* mKan = nullptr;
    QLabel* mShi = nullptr;
    QLabel* dKan = nullptr;
    QLabel* dShi = nullptr;
    QLabel* hKan = nullptr;
    QLabel* hShi = nullptr;
    QLabel* lbl_yZokan = nullptr;
    QLabel* lbl_mZokan = nullptr;
    QLabel* lbl_dZokan = nullptr;
    QLabel* lbl_hZokan = nullptr;
    QLabel* lblOu = nullptr;

    std::array<QLabel*, 10> sai1{};
    std::array<QLabel*, kLuckPillarCount> sai2{};
    std::array<QLabel*, kLuckPillarCount> dun_kan{};
    std::array<QLabel*, kLuckPillarCount> dun_shi{};
};

} // namespace vantora::ui
