#include "ui/settings_dialog.hpp"

#include "ui/form_kit.hpp"
#include "ui/ui_common.hpp"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

namespace vantora::ui {
namespace {

QString settings_key(const RuleChoice& choice) {
    return QStringLiteral("rules/") + qtext(choice.key);
}

/// The control name of a rule's list: "cmb" and the key in camel case ("cmbDayChange").
QString list_name(const RuleChoice& choice) {
    QString name = QStringLiteral("cmb");
    bool upper = true;
    for (const char c : choice.key) {
        if (c == '-') {
            upper = true;
            continue;
        }
        name += upper ? QChar(c).toUpper() : QChar(c);
        upper = false;
    }
    return name;
}

/// The program's settings file: ~/.config/Vantora/Vantora.conf on Linux.
constexpr auto kSettingsFolder = "Vantora", kSettingsName = "Vantora";

} // namespace

ChartRules saved_rules() {
    QSettings settings(kSettingsFolder, kSettingsName);
    ChartRules rules;
    for (const RuleChoice& choice : kRuleChoices) {
        const QString value = settings.value(settings_key(choice)).toString();
        if (!value.isEmpty())
            set_rule(rules, choice.key, value.toStdString()); // an unknown value stays default
    }
    return rules;
}

void save_rules(const ChartRules& rules) {
    QSettings settings(kSettingsFolder, kSettingsName);
    for (const RuleChoice& choice : kRuleChoices)
        settings.setValue(settings_key(choice), qtext(rule_value(rules, choice)));
}

SettingsDialog::SettingsDialog(const ChartRules& rules, QWidget* parent)
    : QDialog(parent) {
    setObjectName("frmSettings");
    setWindowTitle(QStringLiteral("設定"));
    setFont(gothic_font(9.75));
    auto* form = new QFormLayout;
    form->addRow(new QLabel(QStringLiteral("流派によって異なる規則を選びます。既定は上の項目です。"), this));
    for (std::size_t k = 0; k < kRuleChoices.size(); ++k) {
        const RuleChoice& choice = kRuleChoices[k];
        auto* list = new QComboBox(this);
        list->setObjectName(list_name(choice));
        list->addItem(qtext(choice.default_caption));
        list->addItem(qtext(choice.alternative_caption));
        form->addRow(qtext(choice.title), list);
        lists_[k] = list;
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("btnOK");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("btnCancel");
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    QPushButton* defaults = buttons->addButton(QStringLiteral("既定に戻す"), QDialogButtonBox::ResetRole);
    defaults->setObjectName("btnDefault");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(defaults, &QPushButton::clicked, this, [this] { show_rules({}); });
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    show_rules(rules);
}

void SettingsDialog::show_rules(const ChartRules& rules) {
    for (std::size_t k = 0; k < kRuleChoices.size(); ++k)
        lists_[k]->setCurrentIndex(rules.*kRuleChoices[k].chosen ? 1 : 0);
}

ChartRules SettingsDialog::chosen_rules() const {
    ChartRules rules;
    for (std::size_t k = 0; k < kRuleChoices.size(); ++k)
        rules.*kRuleChoices[k].chosen = lists_[k]->currentIndex() == 1;
    return rules;
}

} // namespace vantora::ui
