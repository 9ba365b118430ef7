// The year dialog's era years: typed into the box in any form, and shown under each year of the list.
#include "ui_test_support.hpp"

#include "ui/main_window.hpp"
#include "ui/year_dialog.hpp"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace vantora::ui;

class EraYearsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { testing::prepare_ui_test(); }

    void typed_era_years_are_accepted_and_wrong_ones_explained() {
        MainWindow window;
        QVERIFY(window.Form_Load());
        const struct {
            const char *typed, *refusal; // refusal: nullptr when accepted
            double year;
        } cases[] = {{"昭和５０年", nullptr, 1975},
                     {"H1", nullptr, 1989},
                     {"r8", nullptr, 2026},
                     {"昭和65", "昭和は元年（1926年）から64年（1989年）まで", 0},
                     {"1499", "1500〜2099年の範囲外", 0}};
        for (const auto& c : cases) {
            // State: the dialog open; Action: a year typed into the box and Return.
            QTest::mouseClick(window.findChild<QPushButton*>("yearInput"), Qt::LeftButton);
            YearDialog* dialog = window.year_dialog();
            auto* box = dialog->findChild<QLineEdit*>("lblSelect_y");
            box->setText(QString::fromUtf8(c.typed));
            QString refusal;
            QTimer::singleShot(0, this, [&refusal] {
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                    refusal = box->text();
                    box->accept();
                }
            });
            QTest::keyClick(box, Qt::Key_Return);
            QTest::qWait(10);
            // Expected: the Western year stored, or the dialog kept open with the reason.
            if (c.refusal) {
                QVERIFY2(refusal.contains(QString::fromUtf8(c.refusal)), qPrintable(refusal));
                QVERIFY(dialog->isVisible());
                QVERIFY(dialog->close());
            } else {
                QVERIFY2(refusal.isEmpty(), qPrintable(refusal));
                QCOMPARE(window.birth_year(), std::optional<double>(c.year));
                QCOMPARE(dialog->chosen_year_text(), QString::number(c.year));
            }
        }
    }

    void the_list_names_the_era_years_of_each_year() {
        MainWindow window;
        QVERIFY(window.Form_Load());
        QTest::mouseClick(window.findChild<QPushButton*>("yearInput"), Qt::LeftButton);
        YearDialog* dialog = window.year_dialog();
        auto* years = dialog->findChild<QListWidget*>("List1");
        QCOMPARE(years->item(89)->text(), QStringLiteral("1989"));
        QCOMPARE(years->item(89)->toolTip(), QStringLiteral("昭64/平1"));
        years->setCurrentRow(75);
        testing::save_screenshot(dialog, "year_dialog_eras");
        QVERIFY(dialog->close());
    }
};

QTEST_MAIN(EraYearsTest)
#include "test_era_years.moc"
