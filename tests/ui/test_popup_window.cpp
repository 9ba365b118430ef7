// The pop-up chart window: every copied field follows the latest copy, bold follows the flags,
// and "CLOSE" only hides.
#include "ui_test_support.hpp"

#include "chart/compute_chart.hpp"
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
using vantora::ui::frmpop01;
using vantora::ui::PopupContent;

namespace {

/// One copied field: the control's name, whether it is a text box, and where its text comes from.
struct Field {
    QString name;
    bool text_box;
    std::function<std::string&(ChartTexts&)> source;
};

std::vector<Field> copied_fields() {
    std::vector<Field> fields{
        {"txtBirthday", true, [](ChartTexts& t) -> std::string& { return t.txtBirthday; }},
        {"txtKoutai", true, [](ChartTexts& t) -> std::string& { return t.txtKoutai; }},
        {"txtKoutaiYM", true, [](ChartTexts& t) -> std::string& { return t.txtKoutaiYM; }},
        {"txtKoukei", true, [](ChartTexts& t) -> std::string& { return t.txtKoukei; }},
        {"txtAge", true, [](ChartTexts& t) -> std::string& { return t.txtAge; }},
        {"yKan", false, [](ChartTexts& t) -> std::string& { return t.yKan; }},
        {"yShi", false, [](ChartTexts& t) -> std::string& { return t.yShi; }},
        {"mKan", false, [](ChartTexts& t) -> std::string& { return t.mKan; }},
        {"mShi", false, [](ChartTexts& t) -> std::string& { return t.mShi; }},
        {"dKan", false, [](ChartTexts& t) -> std::string& { return t.dKan; }},
        {"dShi", false, [](ChartTexts& t) -> std::string& { return t.dShi; }},
        {"hKan", false, [](ChartTexts& t) -> std::string& { return t.hKan; }},
        {"hShi", false, [](ChartTexts& t) -> std::string& { return t.hShi; }},
        {"lblOu", false, [](ChartTexts& t) -> std::string& { return t.lblOu; }},
        {"lbl_yZokan", false, [](ChartTexts& t) -> std::string& { return t.lbl_yZokan; }},
        {"lbl_mZokan", false, [](ChartTexts& t) -> std::string& { return t.lbl_mZokan; }},
        {"lbl_dZokan", false, [](ChartTexts& t) -> std::string& { return t.lbl_dZokan; }},
        {"lbl_hZokan", false, [](ChartTexts& t) -> std::string& { return t.lbl_hZokan; }},
    };
    for (std::size_t i = 0; i < 10; ++i) {
        fields.push_back({QStringLiteral("sai1_%1").arg(i), false,
                          [i](ChartTexts& t) -> std::string& { return t.sai1[i]; }});
    }
    for (std::size_t k = 0; k < vantora::kLuckPillarCount; ++k) {
        fields.push_back({QStringLiteral("sai2_%1").arg(k), false,
                          [k](ChartTexts& t) -> std::string& { return t.sai2[k]; }});
        fields.push_back({QStringLiteral("dun_kan_%1").arg(k), false,
                          [k](ChartTexts& t) -> std::string& { return t.dun_kan[k]; }});
        fields.push_back({QStringLiteral("dun_shi_%1").arg(k), false,
                          [k](ChartTexts& t) -> std::string& { return t.dun_shi[k]; }});
    }
    return fields;
}

/// Content whose every copied field holds a text of its own ("#0", "#1", …) that no chart shows.
PopupContent marked_content() {
    PopupContent content;
    int n = 0;
    for (const Field& field : copied_fields()) field.source(content.texts) = "#" + std::to_string(n++);
    content.dun_kan_bold.fill(true);
    content.dun_shi_bold.fill(true);
    content.male = true;
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
    QString shown(const Field& field) const;

    std::optional<vantora::TermTables> tables_;
    QPointer<frmpop01> window_;
};

void PopupWindowTest::initTestCase() {
    vantora::ui::testing::prepare_ui_test();
    auto loaded = vantora::init_tables();
    QVERIFY2(std::holds_alternative<vantora::TermTables>(loaded),
             "planet.txt / latitude.txt beside the test");
    tables_ = std::get<vantora::TermTables>(loaded);
}

void PopupWindowTest::init() {
    window_ = new frmpop01;
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
    const vantora::Chart chart = vantora::compute_chart(record, {2026, 12, 8, 10, 0, 0}, *tables_);
    PopupContent content;
    content.texts = chart.texts;
    if (chart.current_luck) {
        content.dun_kan_bold[static_cast<std::size_t>(*chart.current_luck)] = true;
        content.dun_shi_bold[static_cast<std::size_t>(*chart.current_luck)] = true;
    }
    content.male = sex == vantora::Sex::male;
    return content;
}

QString PopupWindowTest::shown(const Field& field) const {
    if (field.text_box) {
        auto* box = window_->findChild<QLineEdit*>(field.name);
        return box ? box->text() : QStringLiteral("<no text box %1>").arg(field.name);
    }
    auto* label = window_->findChild<QLabel*>(field.name);
    return label ? label->text() : QStringLiteral("<no label %1>").arg(field.name);
}

void PopupWindowTest::next_copy_overwrites_every_field() {
    // State: every field shows a marker text of an earlier copy.
    window_->copy_chart(marked_content());
    // Action: the next command copies a real chart.
    PopupContent chart = real_content(2000, 1, 1, 12, vantora::Sex::male);
    window_->copy_chart(chart);
    // Expected: every field shows the real chart's text, none keeps a marker.
    for (const Field& field : copied_fields()) {
        QCOMPARE(shown(field), QString::fromStdString(field.source(chart.texts)));
    }
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
    for (const Field& field : copied_fields()) {
        QCOMPARE(shown(field), QString::fromStdString(field.source(second.texts)));
    }
    PopupContent first = real_content(2000, 1, 1, 12, vantora::Sex::male);
    for (const Field& field : copied_fields())
        differing += field.source(first.texts) != field.source(second.texts);
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
        content.dun_kan_bold.fill(false);
        content.dun_shi_bold.fill(false);
        if (pillar >= 0) {
            content.dun_kan_bold[static_cast<std::size_t>(pillar)] = true;
            content.dun_shi_bold[static_cast<std::size_t>(pillar)] = true;
        }
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
    content.male = first_male;
    window_->copy_chart(content);
    content.male = male;
    window_->copy_chart(content);
    QCOMPARE(window_->findChild<QLineEdit*>("txtMW")->text(), expected);
}

void PopupWindowTest::header_fields_are_read_only_but_the_sex() {
    for (const Field& field : copied_fields()) {
        if (!field.text_box) continue;
        QVERIFY2(window_->findChild<QLineEdit*>(field.name)->isReadOnly(), qPrintable(field.name));
    }
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
    PopupContent chart = real_content(2000, 1, 1, 12, vantora::Sex::male);
    QVERIFY2(std::count(chart.dun_kan_bold.begin(), chart.dun_kan_bold.end(), true) == 1,
             "a real chart of 2000 stands in one luck pillar in 2026");
    window_->copy_chart(chart);
    QVERIFY(QFile::exists(vantora::ui::testing::save_screenshot(window_, "popup_window")));
}

QTEST_MAIN(PopupWindowTest)
#include "test_popup_window.moc"
