// SettingsDialog (設定): the rules a reader chooses where schools differ, one list per rule, kept
// between runs.
#pragma once

#include "chart/chart_rules.hpp"

#include <QDialog>

#include <array>

class QComboBox;

namespace vantora::ui {

/// The rules kept between runs (QSettings "rules/<key>" = value); a missing or unknown value
/// reads as the rule's default.
ChartRules saved_rules();
void save_rules(const ChartRules& rules);

class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    /// Shows `rules` in the lists.
    explicit SettingsDialog(const ChartRules& rules, QWidget* parent = nullptr);

    /// The rules the lists show.
    ChartRules chosen_rules() const;

private:
    void show_rules(const ChartRules& rules);

    /// One list per rule, in the order of kRuleChoices: item 0 the default, item 1 the alternative.
    std::array<QComboBox*, kRuleChoices.size()> lists_{};
};

} // namespace vantora::ui
