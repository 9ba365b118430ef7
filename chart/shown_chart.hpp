// What the chart windows show: the texts of a computed chart, which luck pillar is bold, and
// whether the reversed reading is on screen; and the one table of which control shows which text.
#pragma once

#include "chart/chart.hpp"
#include "chart/reversal.hpp"

#include <optional>
#include <span>
#include <string_view>

namespace vantora {

enum class ChartView { computed, reversed };

/// The chart as a window shows it. The main window paints it, the pop-up and the export copy it.
struct ShownChart {
    ChartTexts texts;             ///< every caption of the computed view
    std::optional<int> bold_luck; ///< the luck pillar 0..10 shown in bold, if any
    bool hour_unknown = false;    ///< the hour pillar shows "□"
    /// The reversed reading, present exactly while it is on screen: its nine captions take the
    /// place of lblOu, lbl_yZokan and lbl_mZokan and fill the six relation labels.
    std::optional<ReversedView> reversed;

    ChartView view() const { return reversed ? ChartView::reversed : ChartView::computed; }
};

/// The chart in the given view.
ShownChart shown_chart(const Chart& chart, ChartView view = ChartView::computed);

/// Calls on_text(control name, text) for every single-text control of the chart and
/// on_row(row name, span of texts) for the four rows of luck-pillar labels, whose controls are
/// named row_0, row_1, …; in the order the chart command writes them. Texts is ChartTexts or
/// const ChartTexts.
template <class Texts, class OnText, class OnRow>
void for_each_control(Texts& t, OnText&& on_text, OnRow&& on_row) {
    using Name = std::string_view;
    on_text(Name("txtBirthday"), t.txtBirthday);
    on_text(Name("txtAge"), t.txtAge);
    on_text(Name("txtweek"), t.txtweek);
    on_text(Name("txtShin"), t.txtShin);
    on_text(Name("txtKinjisa"), t.txtKinjisa);
    on_text(Name("txtKoutai"), t.txtKoutai);
    on_text(Name("txtKoutaiYM"), t.txtKoutaiYM);
    on_text(Name("txtKoukei"), t.txtKoukei);
    on_text(Name("yKan"), t.yKan);
    on_text(Name("yShi"), t.yShi);
    on_text(Name("mKan"), t.mKan);
    on_text(Name("mShi"), t.mShi);
    on_text(Name("dKan"), t.dKan);
    on_text(Name("dShi"), t.dShi);
    on_text(Name("hKan"), t.hKan);
    on_text(Name("hShi"), t.hShi);
    on_text(Name("lbl_yZokan"), t.lbl_yZokan);
    on_text(Name("lbl_mZokan"), t.lbl_mZokan);
    on_text(Name("lbl_dZokan"), t.lbl_dZokan);
    on_text(Name("lbl_hZokan"), t.lbl_hZokan);
    on_text(Name("lblOu"), t.lblOu);
    on_row(Name("dun_kan"), std::span(t.dun_kan));
    on_row(Name("dun_shi"), std::span(t.dun_shi));
    on_row(Name("sai1"), std::span(t.sai1));
    on_row(Name("sai2"), std::span(t.sai2));
}

} // namespace vantora
