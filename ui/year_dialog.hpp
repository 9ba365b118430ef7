// yInput: the birth-year dialog (年入力). The year is picked from a list of one century, never
// typed; "決定" hands it to the main window, sets the month lengths and unlocks the month list.
#pragma once

#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;

namespace vantora::ui {

class mainform01;

class yInput : public QWidget {
    Q_OBJECT
public:
    /// A top-level, non-modal dialog working for main_window.
    explicit yInput(mainform01* main_window);

    /// First showing: centres the dialog, lists the 1900s and shows the accepted birth year.
    void Form_Load();

    /// The year shown in the box (lblSelect_y), empty while none is chosen.
    QString chosen_year_text() const;

protected:
    /// Closing through the window frame acts like "決定" and then hides the dialog (it is kept
    /// for the next opening), so that the main window is never left disabled.
    void closeEvent(QCloseEvent* event) override;

private:
    void create_controls();
    /// Lists first_year … first_year + 99 in three columns, ascending by rows.
    void list_century(int first_year);
    void List1_Click();
    void btnSlok_Click();

    mainform01* main_window_;
    QLabel* lblSelect_y = nullptr;
    QLabel* lstSelyear = nullptr;
    QPushButton* btnSlok = nullptr;
    QListWidget* List1 = nullptr;
};

} // namespace vantora::ui
