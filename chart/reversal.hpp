// The reversed reading of a chart (旺の逆転): hidden stems of the year and month swapped by a
// fixed rule on the month pillar's ten-god relations, and the relation of every stem to the
// day stem.
#pragma once

#include "chart/chart.hpp"

#include <string>
#include <string_view>

namespace vantora {

/// The stems a reversed reading starts from, as the chart computation left them (1..10).
struct ReversalInput {
    int year_stem = 0, month_stem = 0, day_stem = 0, hour_stem = 0;
    int year_hidden = 0, month_hidden = 0, day_hidden = 0, hour_hidden = 0;
    bool hour_known = true; ///< false when the hour pillar shows "□"; its relations stay empty
};

/// The stems of a computed chart; the hour counts as known unless it was not given.
ReversalInput reversal_input(const Chart& chart);

/// The nine captions of the reversed view, by control name, and the rule's outcome.
struct ReversedView {
    int reversal_case = 0; ///< 0, 1 or 2: the hidden stems move by 0, 6 or 4 stems
    int year_hidden = 0;   ///< reversed year hidden stem 1..10
    int month_hidden = 0;  ///< reversed month hidden stem 1..10
    std::string lbl_ySeikoku, lbl_mSeikoku, lbl_hSeikoku; ///< relations of the year, month, hour stems
    std::string lbl_yzSeikoku, lbl_dzSeikoku,
        lbl_hzSeikoku;                  ///< relations of the year, day, hour hidden stems
    std::string lblOu;                  ///< relation of the reversed month hidden stem
    std::string lbl_yZokan, lbl_mZokan; ///< the reversed hidden stems
};

/// The reversal rule: with Ym, Yh, Yy the relations of the month stem, month hidden stem and
/// year stem, P = (Ym is 印) and (Yy is neither 食 nor 財, or the month stem is yang and the
/// year stem yin). Without P: 比/印 → case 0, 官 → 2, 食/財 → 1; with P: 官 with Yy 比/印 → 0,
/// anything else → 1.
int reversal_case(int month_stem_relation, int month_hidden_relation, int year_stem_relation, int month_stem,
                  int year_stem);

/// The reversed view of a chart.
ReversedView reverse_chart(const ReversalInput& input);

/// Calls on_text(control name, caption) for the nine captions of the reversed view, in the order
/// the chart command writes them: the relations of the year, month, day and hour columns from
/// top to bottom (lblOu holds the month's), then the two reversed hidden stems.
template <class View, class OnText> void for_each_reversed_control(View& view, OnText&& on_text) {
    on_text(std::string_view("lbl_ySeikoku"), view.lbl_ySeikoku);
    on_text(std::string_view("lbl_yzSeikoku"), view.lbl_yzSeikoku);
    on_text(std::string_view("lbl_mSeikoku"), view.lbl_mSeikoku);
    on_text(std::string_view("lblOu"), view.lblOu);
    on_text(std::string_view("lbl_dzSeikoku"), view.lbl_dzSeikoku);
    on_text(std::string_view("lbl_hSeikoku"), view.lbl_hSeikoku);
    on_text(std::string_view("lbl_hzSeikoku"), view.lbl_hzSeikoku);
    on_text(std::string_view("lbl_yZokan"), view.lbl_yZokan);
    on_text(std::string_view("lbl_mZokan"), view.lbl_mZokan);
}

} // namespace vantora
