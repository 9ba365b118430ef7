// The pop-up chart window: every copied field follows the latest copy, bold follows the flags,
// and "CLOSE" only hides.
#include "ui_test_support.hpp"

#include "chart/compute_chart.hpp"
#include "chart/shown_chart.hpp"
#include "core/term_file.hpp"
#include "ui/popup_window.hpp"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <optional>
#include <vector>

using vantora::ChartTexts;
using vantora::ui::PopupContent;
using vantora::ui::PopupWindow;

namespace {

/// Texts of the main window that the pop-up does not show.
const QStringList kNotCopied{"txtweek", "txtShin", "txtKinjisa"};

/// Calls f(control name, text) for every control the pop-up copies: every control of the chart
/// but kNotCopied.
template <class Texts, class F> void for_each_copied(Texts& texts, F&& f) {
    vantora::for_each_control(
        texts,
        [&](std::string_view name, auto& text) {
            if (!kNotCopied.contains(QString::fromUtf8(name))) f(QString::fromUtf8(name), text);
        },
        [&](std::string_view row, auto row_texts) {
            for (std::size_t i = 0; i < row_texts.size(); ++i)
                f(QString::fromUtf8(row) + QStringLiteral("_%1").arg(i), row_texts[i]);
        });
}

/// Text boxes among the copied controls; the others are labels.
bool is_text_box(const QString& name) {
    return name.startsWith("txt");
}

/// Content whose every copied field holds a text of its own ("#0", "#1", …) that no chart shows.
PopupContent marked_content() {
    PopupContent content;
    int n = 0;
    for_each_copied(content.texts,
                    [&n](const QString&, std::string& text) { text = "#" + std::to_string(n++); });
    content.bold_luck = 0;
    content.sex = vantora::Sex::male;
    return content;
}

} // namespace

class PopupWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void next_copy_overwrites_every_field();
    void copies_into_the_same_window();
    void bold_follows_the_flags_data();
    void bold_follows_the_flags();
    void sex_field_data();
    void sex_field();
    void header_fields_are_read_only_but_the_sex();
    void close_button_hides_and_keeps_place();
    void screenshot();

private:
    PopupContent real_content(int year, int month, int day, int hour, vantora::Sex sex) const;
    QString shown(const QString& name) const;

    std::optional<vantora::TermTables> tables_;
    QPointer<PopupWindow> window_;
};

void PopupWindowTest::initTestCase() {
    vantora::ui::testing::prepare_ui_test();
    auto loaded = vantora::init_tables();
    QVERIFY2(std::holds_alternative<vantora::TermTables>(loaded),
             "planet.txt / latitude.txt beside the test");
    tables_ = std::get<vantora::TermTables>(loaded);
}

void PopupWindowTest::init() {
    window_ = new PopupWindow;
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
}

void PopupWindowTest::cleanup() {
    delete window_;
}

PopupContent PopupWindowTest::real_content(int year, int month, int day, int hour, vantora::Sex sex) const {
    vantora::BirthRecord record;
    record.birth_year = year;
    record.birth_month = month;
    record.birth_day = day;
    record.birth_hour = hour;
    record.sex = sex;
    const auto chart =
        std::get<vantora::Chart>(vantora::compute_chart(record, {2026, 12, 8, 10, 0, 0}, *tables_));
    return {chart.texts, chart.current_luck, sex, {}};
}

QString PopupWindowTest::shown(const QString& name) const {
    if (is_text_box(name)) {
        auto* box = window_->findChild<QLineEdit*>(name);
        return box ? box->text() : QStringLiteral("<no text box %1>").arg(name);
    }
    auto* label = window_->findChild<QLabel*>(name);
    return label ? label->text() : QStringLiteral("<no label %1>").arg(name);
}

void PopupWindowTest::next_copy_overwrites_every_field() {
    // State: every field shows a marker text of an earlier copy.
    window_->copy_chart(marked_content());
    // Action: the next command copies a real chart.
    PopupContent chart = real_content(2000, 1, 1, 12, vantora::Sex::male);
    window_->copy_chart(chart);
    // Expected: every field shows the real chart's text, none keeps a marker.
    for_each_copied(chart.texts, [this](const QString& name, const std::string& text) {
        QCOMPARE(shown(name), QString::fromStdString(text));
    });
}

void PopupWindowTest::copies_into_the_same_window() {
    // State: the chart of 2000-01-01 is shown. Action: copy the chart of 1975-03-08.
    window_->copy_chart(real_content(2000, 1, 1, 12, vantora::Sex::male));
    PopupContent second = real_content(1975, 3, 8, 14, vantora::Sex::female);
    window_->copy_chart(second);
    // Expected: the new chart, in the same window (it was not replaced).
    QVERIFY(window_);
    QVERIFY(window_->isVisible());
    int differing = 0;
    for_each_copied(second.texts, [this](const QString& name, const std::string& text) {
        QCOMPARE(shown(name), QString::fromStdString(text));
    });
    PopupContent first = real_content(2000, 1, 1, 12, vantora::Sex::male);
    std::vector<std::string> first_texts;
    for_each_copied(first.texts,
                    [&](const QString&, const std::string& text) { first_texts.push_back(text); });
    std::size_t k = 0;
    for_each_copied(second.texts,
                    [&](const QString&, const std::string& text) { differing += text != first_texts[k++]; });
    QVERIFY2(differing > 10, "the two charts must differ for this test to mean anything");
}

void PopupWindowTest::bold_follows_the_flags_data() {
    QTest::addColumn<int>("before"); // bold luck pillar of the first copy, -1 for none
    QTest::addColumn<int>("after");  // bold luck pillar of the second copy, -1 for none
    QTest::newRow("none, then pillar 3") << -1 << 3;
    QTest::newRow("pillar 3, then pillar 4") << 3 << 4;
    QTest::newRow("pillar 10, then none") << 10 << -1;
    QTest::newRow("month pillar, then month pillar") << 0 << 0;
}

void PopupWindowTest::bold_follows_the_flags() {
    QFETCH(int, before);
    QFETCH(int, after);
    const auto with_bold = [](int pillar) {
        PopupContent content = marked_content();
        content.bold_luck = pillar >= 0 ? std::optional<int>(pillar) : std::nullopt;
        return content;
    };
    window_->copy_chart(with_bold(before));
    window_->copy_chart(with_bold(after));
    for (int k = 0; k < static_cast<int>(vantora::kLuckPillarCount); ++k) {
        for (const char* row : {"dun_kan_%1", "dun_shi_%1"}) {
            const QString name = QString::fromLatin1(row).arg(k);
            auto* label = window_->findChild<QLabel*>(name);
            QVERIFY2(label, qPrintable(name));
            QVERIFY2(label->font().bold() == (k == after), qPrintable(name));
        }
    }
}

void PopupWindowTest::sex_field_data() {
    QTest::addColumn<bool>("first_male");
    QTest::addColumn<bool>("male");
    QTest::addColumn<QString>("expected");
    QTest::newRow("female") << true << false << "女";
    QTest::newRow("male") << false << true << "男";
}

void PopupWindowTest::sex_field() {
    QFETCH(bool, first_male);
    QFETCH(bool, male);
    QFETCH(QString, expected);
    PopupContent content = marked_content();
    content.sex = first_male ? vantora::Sex::male : vantora::Sex::female;
    window_->copy_chart(content);
    content.sex = male ? vantora::Sex::male : vantora::Sex::female;
    window_->copy_chart(content);
    QCOMPARE(window_->findChild<QLineEdit*>("txtMW")->text(), expected);
}

void PopupWindowTest::header_fields_are_read_only_but_the_sex() {
    const vantora::ChartTexts texts;
    for_each_copied(texts, [this](const QString& name, const std::string&) {
        if (is_text_box(name)) QVERIFY2(window_->findChild<QLineEdit*>(name)->isReadOnly(), qPrintable(name));
    });
    QVERIFY(!window_->findChild<QLineEdit*>("txtMW")->isReadOnly());
}

void PopupWindowTest::close_button_hides_and_keeps_place() {
    window_->move(window_->pos() + QPoint(25, 35));
    QTest::qWait(20);
    const QPoint placed = window_->pos();
    QTest::mouseClick(window_->findChild<QPushButton*>("Command1"), Qt::LeftButton);
    QVERIFY(window_);
    QVERIFY(!window_->isVisible());

    PopupContent chart = real_content(1975, 3, 8, 14, vantora::Sex::female);
    window_->copy_chart(chart);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
    QCOMPARE(window_->pos(), placed);
    QCOMPARE(window_->findChild<QLineEdit*>("txtBirthday")->text(),
             QString::fromStdString(chart.texts.txtBirthday));
}

void PopupWindowTest::screenshot() {
    // A three-digit age shows the widest age box.
    PopupContent chart = real_content(1925, 5, 17, 9, vantora::Sex::male);
    QCOMPARE(chart.texts.txtAge, std::string("101"));
    window_->copy_chart(chart);
    QVERIFY(QFile::exists(vantora::ui::testing::save_screenshot(window_, "popup_window")));
}

QTEST_MAIN(PopupWindowTest)
#include "test_popup_window.moc"
