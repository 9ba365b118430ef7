// BookWindow: the chart book (名簿). Lists the people of the book with an incremental search, opens a
// person into the main window's inputs, saves the main window's inputs under a name, edits a
// person's name, reading and memo, deletes after a confirmation, shows two people's charts side by
// side, and imports or exports the book as JSON lines. The book file is opened on first use, never before.
#pragma once

#include "book/book.hpp"

#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

namespace vantora::ui {

class BookModel;

class BookWindow : public QWidget {
    Q_OBJECT
public:
    /// What the window uses of the main window.
    struct MainWindowLink {
        /// The birth the main window's inputs hold now, name fields empty; nothing while the birth
        /// is not complete enough to compute.
        std::function<std::optional<book::Entry>()> current_entry;
        /// Fills the main window's inputs with an entry as a user would, and computes its chart.
        std::function<void(const book::Entry&)> open_entry;
        /// The inputs were just saved as this person (name included).
        std::function<void(const book::Entry&)> saved_entry;
        /// Shows two births side by side (相性); a birth with an empty name is the main window's.
        std::function<void(const book::Entry&, const book::Entry&)> compare;
    };

    /// A top-level window for the book at book_path (opened on first use).
    BookWindow(QString book_path, MainWindowLink link, QWidget* parent = nullptr);
    ~BookWindow() override;

    /// Opens the book if it is not open yet and lists it; false when it cannot be opened (the
    /// reason is shown, and the user can choose another book).
    bool open_book();
    /// Puts the keyboard focus in the search field, its text chosen to be typed over.
    void focus_search();
    /// Locks 開く while the main window shows the reversed view.
    void set_open_locked(bool locked);
    /// Asks for a file of JSON lines and imports it into the book: every line or, when any line
    /// is bad (they are listed by number) or the write fails, none.
    void import_lines();
    /// Asks for a file name and writes the book to it as JSON lines.
    void export_lines();
    /// The name of the person last opened or saved in this window; "" when none.
    const std::string& current_name() const { return current_name_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void create_controls();
    void create_connections();
    /// Lists the people matching the search text again.
    void reload();
    void update_commands();
    std::optional<book::Record> selected() const;
    /// Every chosen person, in the list's order.
    std::vector<book::Record> chosen() const;
    /// Shows a failure of the book in a message box.
    void show_problem(const QString& message);
    /// The window file dialogs and message boxes open over: this one, or while it is hidden the
    /// active window (the main window, whose menu asked for an import or export).
    QWidget* dialog_parent();

    void txtSearch_Change();
    void btnOpen_Click();
    void btnSave_Click();
    void btnEdit_Click();
    void btnDelete_Click();
    /// Two chosen people, or the main window's birth and one chosen person, side by side.
    void btnAisho_Click();
    void btnChoose_Click();
    void btnClose_Click();

    QString path_;
    MainWindowLink link_;
    std::unique_ptr<book::Book> book_;
    std::string current_name_;
    bool open_locked_ = false;

    BookModel* model_ = nullptr;
    QSortFilterProxyModel* sorted_ = nullptr;
    QLineEdit* txtSearch = nullptr;
    QLabel* lblCount = nullptr;
    QTableView* lstBook = nullptr;
    QLabel* lblBook = nullptr;
    QPushButton* btnOpen = nullptr;
    QPushButton* btnSave = nullptr;
    QPushButton* btnEdit = nullptr;
    QPushButton* btnDelete = nullptr;
    QPushButton* btnAisho = nullptr;
    QPushButton* btnChoose = nullptr;
    QPushButton* btnClose = nullptr;
};

} // namespace vantora::ui
