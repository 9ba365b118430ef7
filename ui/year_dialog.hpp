// YearDialog: the birth-year dialog (年入力). The year is picked from a list of one century, each
// year with its era years under it, or typed into the box as a Western or an era year (昭和50, S50,
// 平成元年); "決定" hands it to the main window, which stores it, sets the month lengths and unlocks
// the month list.
#pragma once

#include <QWidget>

#include <optional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace vantora::ui {

class YearDialog : public QWidget {
    Q_OBJECT
public:
    /// A top-level, non-modal dialog: it has no parent, so that disabling the main window while
    /// it is open leaves the dialog usable.
    YearDialog();

    /// First showing: centres the dialog, lists the 1900s and shows the accepted birth year.
    void Form_Load(std::optional<double> accepted_year);

    /// The birth year the main window holds now (accepted here or set another way, e.g. from
    /// the chart book): the box shows it, and closing the dialog by its frame returns to it.
    void set_accepted_year(std::optional<double> year);

    /// Takes `year` (1500..2099) as the user would: lists its century, clicks it and presses
    /// "決定". The chart book opens a person's birth through this path.
    void accept_year(int year);

    /// The year shown in the box (lblSelect_y), empty while none is chosen.
    QString chosen_year_text() const;

signals:
    /// "決定" was pressed or the dialog was closed: the main window may be used again.
    void finished();
    /// "決定" with a year in the box: the year to store. Follows finished().
    void accepted(double year);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    /// Closing through the window frame (or Escape) acts like "決定" with no year: the main
    /// window is usable again and nothing is stored; the box goes back to the accepted year, and
    /// the dialog is kept with its list for the next opening.
    void closeEvent(QCloseEvent* event) override;

private:
    void create_controls();
    /// Lists first_year … first_year + 99 in three columns, ascending by rows.
    void list_century(int first_year);
    void List1_Click();
    void btnSlok_Click();

    /// Caption of the year last accepted, empty while none.
    QString accepted_text_;

    QLineEdit* lblSelect_y = nullptr;
    QLabel* lstSelyear = nullptr;
    QPushButton* btnSlok = nullptr;
    QListWidget* List1 = nullptr;
};

} // namespace vantora::ui
