// The windows' layout at the shipped fonts: the longest text each field can hold fits it, and
// neighbouring captions keep apart.
#include "ui_test_support.hpp"

#include "ui/main_window.hpp"
#include "ui/popup_window.hpp"
#include "ui/ui_common.hpp"

#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTest>

#include <memory>

using namespace vantora::ui::testing;

namespace {

/// Width in pixels a line edit has for its text: inside its frame and text margins, less the two
/// pixels QLineEdit keeps free on either side.
int text_room(const QLineEdit* box) {
    QStyleOptionFrame option;
    option.initFrom(box);
    option.rect = box->rect();
    option.lineWidth =
        box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box) : 0;
    const QRect contents = box->style()->subElementRect(QStyle::SE_LineEditContents, &option, box);
    return contents.marginsRemoved(box->textMargins()).width() - 2 * 2;
}

/// The ink of a label's caption, in its parent's coordinates.
QRect caption_ink(const QLabel* label) {
    const QFontMetrics metrics(label->font());
    const QRect line = QStyle::alignedRect(Qt::LeftToRight, label->alignment(),
                                           QSize(metrics.horizontalAdvance(label->text()), metrics.height()),
                                           label->contentsRect());
    return metrics.tightBoundingRect(label->text())
        .translated(line.left(), line.top() + metrics.ascent())
        .translated(label->pos());
}

class LayoutTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void longest_texts_fit_their_fields_data();
    void longest_texts_fit_their_fields();
    void popup_birth_text_keeps_a_gap_before_the_sex();
    void second_age_row_stands_at_its_column_lefts();
    void element_in_season_keeps_apart_from_its_caption();
    void frames_are_centred_by_their_whole_size();

private:
    std::unique_ptr<vantora::ui::MainWindow> main_;
    std::unique_ptr<vantora::ui::PopupWindow> popup_;
};

void LayoutTest::initTestCase() {
    prepare_ui_test();
    main_ = std::make_unique<vantora::ui::MainWindow>();
    popup_ = std::make_unique<vantora::ui::PopupWindow>();
}

void LayoutTest::longest_texts_fit_their_fields_data() {
    QTest::addColumn<bool>("in_popup");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    const struct {
        const char* field;
        const char* text;
    } fields[] = {
        {"txtBirthday", "2099年12月31日出生時間不明"},
        {"txtBirthday", "2099年12月31日23時59分"},
        {"txtAge", "599"},
        {"txtKoutai", "約9歳11カ月29日"},
        {"txtKoutaiYM", "癸年亥月"},
        {"txtKoukei", "359.999999999999"},
    };
    for (const bool in_popup : {false, true}) {
        for (const auto& f : fields) {
            QTest::addRow("%s %s %s", in_popup ? "pop-up" : "main", f.field, f.text)
                << in_popup << QString::fromLatin1(f.field) << QString::fromUtf8(f.text);
        }
    }
    const struct {
        const char* field;
        const char* text;
    } main_only[] = {
        {"txtweek", "土曜日"},
        {"txtShin", "2099年12月31日23時59.9分"},
        {"txtShin", "1500年1月1日確定不能"},
        {"txtKinjisa", "+16分25.3秒"},
        {"txtJisahun", "-49"},
        {"txtJisahun", "75"},
        {"txtJisabyo", "12345"},
    };
    for (const auto& f : main_only) {
        QTest::addRow("main %s %s", f.field, f.text)
            << false << QString::fromLatin1(f.field) << QString::fromUtf8(f.text);
    }
}

void LayoutTest::longest_texts_fit_their_fields() {
    QFETCH(bool, in_popup);
    QFETCH(QString, field);
    QFETCH(QString, text);
    QWidget* window = in_popup ? static_cast<QWidget*>(popup_.get()) : main_.get();
    const auto* box = window->findChild<QLineEdit*>(field);
    QVERIFY(box);
    const int needed = box->fontMetrics().horizontalAdvance(text);
    QVERIFY2(needed <= text_room(box),
             qPrintable(QStringLiteral("%1 needs %2 px, has %3").arg(text).arg(needed).arg(text_room(box))));
}

void LayoutTest::popup_birth_text_keeps_a_gap_before_the_sex() {
    const auto* birth = popup_->findChild<QLineEdit*>("txtBirthday");
    const auto* sex = popup_->findChild<QLineEdit*>("txtMW");
    QVERIFY(sex->geometry().left() - birth->geometry().right() > 3);
}

void LayoutTest::second_age_row_stands_at_its_column_lefts() {
    for (int i = 0; i <= 10; ++i) {
        const auto* age = main_->findChild<QLabel*>(QStringLiteral("sai2_%1").arg(i));
        const int left = i == 10 ? 120 : 4395 - 420 * i;
        QCOMPARE(age->x(), vantora::ui::twips(left));
    }
}

void LayoutTest::element_in_season_keeps_apart_from_its_caption() {
    auto* element = main_->findChild<QLabel*>("lblOu");
    const auto* caption = main_->findChild<QLabel*>("Label11");
    const QString shown_there = QStringLiteral("木火土金水比食財官印");
    for (const QChar c : shown_there) {
        element->setText(c);
        QVERIFY2(caption_ink(element).bottom() < caption_ink(caption).top(), qPrintable(QString(c)));
    }
}

void LayoutTest::frames_are_centred_by_their_whole_size() {
    using vantora::ui::centred_frame_position;
    QCOMPARE(centred_frame_position(QRect(0, 0, 1920, 1080), QSize(800, 600)), QPoint(560, 240));
    QCOMPARE(centred_frame_position(QRect(1920, 0, 1280, 1024), QSize(341, 457)), QPoint(2389, 283));
    // Taller than the area (the map at scale 2): the title bar stays on the screen.
    QCOMPARE(centred_frame_position(QRect(0, 24, 640, 488), QSize(511, 590)), QPoint(64, 24));
}

} // namespace

QTEST_MAIN(LayoutTest)
#include "test_layout.moc"
