#include "chart/reversal.hpp"

#include "chart/hidden_stems.hpp"
#include "core/names.hpp"

namespace vantora {
namespace {

constexpr int kSame = 0, kProduced = 1, kOvercome = 2, kOvercoming = 3, kProducing = 4; // 比 食 財 官 印

/// A stem moved on by `shift` stems, 1..10.
int shifted(int stem, int shift) {
    return stem + shift > 10 ? stem + shift - 10 : stem + shift;
}

} // namespace

int reversal_case(int ym, int yh, int yy, int month_stem, int year_stem) {
    const bool p = ym == kProducing &&
                   ((yy != kProduced && yy != kOvercome) || (month_stem % 2 == 1 && year_stem % 2 == 0));
    if (yh == kSame || yh == kProducing) return p ? 1 : 0;
    if (yh == kOvercoming) return p ? ((yy == kSame || yy == kProducing) ? 0 : 1) : 2;
    return 1; // 食 or 財
}

ReversalInput reversal_input(const Chart& c) {
    return {c.year_stem,    c.month_stem, c.day_stem,    c.hour_stem,    c.year_hidden,
            c.month_hidden, c.day_hidden, c.hour_hidden, !c.hour_unknown};
}

ReversedView reverse_chart(const ReversalInput& in) {
    const auto rel = [&in](int stem) { return relation_to_day_stem(stem, in.day_stem); };
    const auto name = [](int relation) { return relation_name[static_cast<std::size_t>(relation)]; };
    ReversedView view;
    view.reversal_case = reversal_case(rel(in.month_stem), rel(in.month_hidden), rel(in.year_stem),
                                       in.month_stem, in.year_stem);
    static constexpr int kShift[] = {0, 6, 4};
    const int shift = kShift[view.reversal_case];
    view.year_hidden = shifted(in.year_hidden, shift);
    view.month_hidden = shifted(in.month_hidden, shift);
    view.lbl_ySeikoku = name(rel(in.year_stem));
    view.lbl_yzSeikoku = name(rel(view.year_hidden));
    view.lbl_mSeikoku = name(rel(in.month_stem));
    view.lblOu = name(rel(view.month_hidden));
    view.lbl_dzSeikoku = name(rel(in.day_hidden));
    if (in.hour_known) {
        view.lbl_hSeikoku = name(rel(in.hour_stem));
        view.lbl_hzSeikoku = name(rel(in.hour_hidden));
    }
    view.lbl_yZokan = stem_name[static_cast<std::size_t>(view.year_hidden)];
    view.lbl_mZokan = stem_name[static_cast<std::size_t>(view.month_hidden)];
    return view;
}

} // namespace vantora
