#include "chart/shown_chart.hpp"

namespace vantora {

ShownChart shown_chart(const Chart& chart, ChartView view) {
    ShownChart shown;
    shown.texts = chart.texts;
    shown.bold_luck = chart.current_luck;
    shown.hour_unknown = chart.hour_unknown;
    if (view == ChartView::reversed) shown.reversed = reverse_chart(reversal_input(chart));
    return shown;
}

} // namespace vantora
