#include "ui/book_window.hpp"

#include "book/book_lines.hpp"
#include "chart/number_text.hpp"
#include "ui/form_kit.hpp"
#include "ui/ui_common.hpp"

#include <QAbstractTableModel>
#include <QApplication>
#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <cerrno>
#include <fstream>

namespace vantora::ui {

namespace {

const QString kTitle = QStringLiteral("名簿");
/// Bad lines of an import named in its message box; the rest are counted.
constexpr int kListedBadLines = 10;

/// The name, reading and memo of a person, as the person dialog edits them.
struct NameFields {
    QString name, kana, memo;
};

/// The modal dialog frmbookentry that asks for a person's name, reading and memo; false when the
/// user cancels. The OK button stays locked while the name is blank.
bool ask_name(QWidget* parent, const QString& title, const QString& accept_text, NameFields& fields) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("frmbookentry"));
    dialog.setWindowTitle(title);
    auto* txtName = new QLineEdit(fields.name, &dialog);
    txtName->setObjectName(QStringLiteral("txtName"));
    auto* txtKana = new QLineEdit(fields.kana, &dialog);
    txtKana->setObjectName(QStringLiteral("txtKana"));
    auto* txtMemo = new QPlainTextEdit(fields.memo, &dialog);
    txtMemo->setObjectName(QStringLiteral("txtMemo"));
    txtMemo->setTabChangesFocus(true);
    txtMemo->setFixedHeight(txtName->sizeHint().height() * 4);
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* ok = buttons->addButton(accept_text, QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("btnOk"));
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("btnCancel"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    const auto lock = [txtName, ok] { ok->setEnabled(!txtName->text().trimmed().isEmpty()); };
    QObject::connect(txtName, &QLineEdit::textChanged, &dialog, lock);
    lock();

    auto* form = new QFormLayout(&dialog);
    form->addRow(QStringLiteral("名前："), txtName);
    form->addRow(QStringLiteral("よみがな："), txtKana);
    form->addRow(QStringLiteral("メモ："), txtMemo);
    form->addRow(buttons);
    dialog.setMinimumWidth(360);
    txtName->selectAll();
    if (dialog.exec() != QDialog::Accepted) return false;
    fields = {txtName->text().trimmed(), txtKana->text().trimmed(), txtMemo->toPlainText()};
    return true;
}

/// Asks a yes/no question whose yes is `yes_text` and whose default is the cancel.
bool confirm(QWidget* parent, const QString& text, const QString& yes_text) {
    QMessageBox box(QMessageBox::Question, kTitle, text, QMessageBox::NoButton, parent);
    QPushButton* yes = box.addButton(yes_text, QMessageBox::AcceptRole);
    box.setDefaultButton(box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole));
    box.exec();
    return box.clickedButton() == yes;
}

} // namespace

/// The people of the book as rows: name, reading, birth text, sex, last change (local time).
/// Qt::UserRole holds the sort key of each cell (the birth by its date and time, not its text).
/// Texts are made when a cell is asked for, so that a long list is ready at once and only the
/// rows on screen cost their texts.
class BookModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    static constexpr int kColumns = 5;

    void set_records(std::vector<book::Record> records) {
        beginResetModel();
        records_ = std::move(records);
        endResetModel();
    }

    const book::Record& record(int row) const { return records_[static_cast<std::size_t>(row)]; }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(records_.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : kColumns; }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::UserRole)) return {};
        const book::Record& r = record(index.row());
        const book::Entry& e = r.entry;
        switch (index.column()) {
        case 0:
            return qtext(e.name);
        case 1:
            return qtext(e.kana);
        case 2:
            return role == Qt::DisplayRole ? qtext(request::birthday_data(e.birth)) : birth_key(e.birth);
        case 3:
            return e.birth.sex == request::sex_word(Sex::male) ? QStringLiteral("男") : QStringLiteral("女");
        default:
            if (role == Qt::UserRole) return qtext(r.changed);
            return QDateTime::fromString(qtext(r.changed), Qt::ISODate)
                .toLocalTime()
                .toString(QStringLiteral("yyyy-MM-dd HH:mm"));
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        static const char* const titles[kColumns] = {"名前", "よみがな", "生年月日", "性別", "更新日時"};
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kColumns)
            return {};
        return QString::fromUtf8(titles[section]);
    }

private:
    /// "YYYYMMDDhhmm" with an unknown hour or minute before 0 and a minute never chosen before "?".
    static QString birth_key(const request::TypedBirth& birth) {
        const auto number = [](const std::string& text) { return static_cast<int>(numeric_value(text)); };
        const auto order = [&number](const std::string& text) {
            return text.empty() ? 0 : text == "?" ? 1 : 2 + number(text);
        };
        return QStringLiteral("%1%2%3%4%5")
            .arg(number(birth.year), 4, 10, QLatin1Char('0'))
            .arg(number(birth.month), 2, 10, QLatin1Char('0'))
            .arg(number(birth.day), 2, 10, QLatin1Char('0'))
            .arg(order(birth.hour), 2, 10, QLatin1Char('0'))
            .arg(order(birth.minute), 2, 10, QLatin1Char('0'));
    }

    std::vector<book::Record> records_;
};

BookWindow::BookWindow(QString book_path, MainWindowLink link, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , path_(std::move(book_path))
    , link_(std::move(link)) {
    setObjectName(QStringLiteral("frmbook"));
    setWindowTitle(kTitle);
    setFont(gothic_font(9.75));
    create_controls();
    create_connections();
    resize(640, 420);
    update_commands();
    centre_on_screen(this);
}

BookWindow::~BookWindow() = default;

void BookWindow::create_controls() {
    auto* search_label = new QLabel(QStringLiteral("検索(&S)："), this);
    txtSearch = new QLineEdit(this);
    txtSearch->setObjectName(QStringLiteral("txtSearch"));
    txtSearch->setPlaceholderText(QStringLiteral("名前・よみがな・メモ"));
    txtSearch->setClearButtonEnabled(true);
    search_label->setBuddy(txtSearch);
    lblCount = new QLabel(this);
    lblCount->setObjectName(QStringLiteral("lblCount"));

    model_ = new BookModel(this);
    sorted_ = new QSortFilterProxyModel(this);
    sorted_->setSourceModel(model_);
    sorted_->setSortRole(Qt::UserRole);
    sorted_->setSortLocaleAware(true);
    lstBook = new QTableView(this);
    lstBook->setObjectName(QStringLiteral("lstBook"));
    lstBook->setModel(sorted_);
    lstBook->setSelectionBehavior(QAbstractItemView::SelectRows);
    // Two people may be chosen together, to be shown side by side.
    lstBook->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstBook->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstBook->setTabKeyNavigation(false); // Tab leaves the list for the buttons

    lstBook->setSortingEnabled(true);
    lstBook->sortByColumn(-1, Qt::AscendingOrder); // the book's own order until a heading is clicked
    lstBook->setAlternatingRowColors(true);
    lstBook->setWordWrap(false);
    lstBook->verticalHeader()->hide();
    lstBook->verticalHeader()->setDefaultSectionSize(lstBook->fontMetrics().height() + 6);
    lstBook->horizontalHeader()->setStretchLastSection(true);
    for (const auto& [column, width] :
         {std::pair{0, 130}, std::pair{1, 120}, std::pair{2, 200}, std::pair{3, 40}})
        lstBook->setColumnWidth(column, width);

    lblBook = new QLabel(this);
    lblBook->setObjectName(QStringLiteral("lblBook"));
    lblBook->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblBook->setWordWrap(true);

    const auto button = [this](const char* name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(true); // Enter presses the button that has the focus, like Space
        return b;
    };
    btnOpen = button("btnOpen", QStringLiteral("開く"));
    btnSave = button("btnSave", QStringLiteral("保存…"));
    btnEdit = button("btnEdit", QStringLiteral("編集…"));
    btnDelete = button("btnDelete", QStringLiteral("削除"));
    btnAisho = button("btnAisho", QStringLiteral("相性..."));
    btnAisho->setToolTip(QStringLiteral("選んだ二人、または表示中の命式と選んだ一人を並べて表示します"));
    btnChoose = button("btnChoose", QStringLiteral("別の名簿…"));
    btnClose = button("btnClose", QStringLiteral("閉じる"));

    auto* search_row = new QHBoxLayout;
    search_row->addWidget(search_label);
    search_row->addWidget(txtSearch, 1);
    search_row->addWidget(lblCount);
    auto* button_row = new QHBoxLayout;
    for (QPushButton* b : {btnOpen, btnSave, btnEdit, btnDelete, btnAisho}) button_row->addWidget(b);
    button_row->addStretch(1);
    button_row->addWidget(btnChoose);
    button_row->addWidget(btnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(search_row);
    layout->addWidget(lstBook, 1);
    layout->addWidget(lblBook);
    layout->addLayout(button_row);
    setTabOrder(txtSearch, lstBook);
}

void BookWindow::create_connections() {
    connect(txtSearch, &QLineEdit::textChanged, this, &BookWindow::txtSearch_Change);
    // Enter opens the chosen person, from the list or the search field.
    connect(txtSearch, &QLineEdit::returnPressed, this, &BookWindow::btnOpen_Click);
    connect(lstBook, &QTableView::activated, this, &BookWindow::btnOpen_Click);
    connect(lstBook->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &BookWindow::update_commands);
    connect(btnOpen, &QPushButton::clicked, this, &BookWindow::btnOpen_Click);
    connect(btnSave, &QPushButton::clicked, this, &BookWindow::btnSave_Click);
    connect(btnEdit, &QPushButton::clicked, this, &BookWindow::btnEdit_Click);
    connect(btnDelete, &QPushButton::clicked, this, &BookWindow::btnDelete_Click);
    connect(btnAisho, &QPushButton::clicked, this, &BookWindow::btnAisho_Click);
    connect(btnChoose, &QPushButton::clicked, this, &BookWindow::btnChoose_Click);
    connect(btnClose, &QPushButton::clicked, this, &BookWindow::btnClose_Click);
}

bool BookWindow::open_book() {
    if (book_) return true;
    auto opened = book::Book::open(path_);
    if (auto* error = std::get_if<book::BookError>(&opened)) {
        lblBook->setText(qtext(error->message));
        model_->set_records({});
        update_commands();
        show_problem(qtext(error->message));
        return false;
    }
    book_ = std::move(std::get<std::unique_ptr<book::Book>>(opened));
    QString status = QDir::toNativeSeparators(path_);
    if (book_->read_only()) status += QStringLiteral("\n") + qtext(book_->read_only_reason());
    lblBook->setText(status);
    reload();
    return true;
}

void BookWindow::reload() {
    if (!book_) return;
    auto found = book_->search(txtSearch->text().toStdString());
    if (auto* error = std::get_if<book::BookError>(&found)) {
        show_problem(qtext(error->message));
        return;
    }
    const std::optional<book::Record> before = selected();
    model_->set_records(std::move(std::get<std::vector<book::Record>>(found)));
    lblCount->setText(QStringLiteral("%1人").arg(model_->rowCount()));
    // Keep the chosen person chosen when they are still listed; else the first row.
    int row = sorted_->rowCount() > 0 ? 0 : -1;
    for (int r = 0; before && r < sorted_->rowCount(); ++r) {
        if (model_->record(sorted_->mapToSource(sorted_->index(r, 0)).row()).id == before->id) row = r;
    }
    if (row >= 0) lstBook->selectRow(row);
    update_commands();
}

void BookWindow::update_commands() {
    const std::size_t count = static_cast<std::size_t>(lstBook->selectionModel()->selectedRows().size());
    const bool chosen = count == 1;
    const bool writable = book_ && !book_->read_only();
    btnOpen->setEnabled(chosen && !open_locked_);
    btnSave->setEnabled(writable);
    btnEdit->setEnabled(chosen && writable);
    btnDelete->setEnabled(chosen && writable);
    btnAisho->setEnabled(link_.compare &&
                         (count == 2 || (chosen && link_.current_entry && link_.current_entry())));
}

std::optional<book::Record> BookWindow::selected() const {
    const std::vector<book::Record> records = chosen();
    if (records.size() != 1) return std::nullopt;
    return records.front();
}

std::vector<book::Record> BookWindow::chosen() const {
    QModelIndexList rows = lstBook->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end());
    std::vector<book::Record> records;
    for (const QModelIndex& row : rows) records.push_back(model_->record(sorted_->mapToSource(row).row()));
    return records;
}

void BookWindow::btnAisho_Click() {
    if (!btnAisho->isEnabled()) return;
    const std::vector<book::Record> records = chosen();
    if (records.size() == 2) {
        link_.compare(records[0].entry, records[1].entry);
    } else if (records.size() == 1) {
        if (const auto shown = link_.current_entry()) link_.compare(*shown, records[0].entry);
    }
}

void BookWindow::show_problem(const QString& message) {
    QMessageBox::warning(dialog_parent(), kTitle, message);
}

QWidget* BookWindow::dialog_parent() {
    // Import and export are also asked for from the main window's menu with this window hidden.
    QWidget* active = QApplication::activeWindow();
    return isVisible() || !active ? this : active;
}

void BookWindow::keyPressEvent(QKeyEvent* event) {
    // Keys the list and the buttons leave unused reach the window: Delete deletes the chosen
    // person (after confirming), Escape closes. The search field keeps Delete for its text.
    if (event->key() == Qt::Key_Delete) {
        btnDelete_Click();
    } else if (event->key() == Qt::Key_Escape) {
        btnClose_Click();
    } else {
        QWidget::keyPressEvent(event);
    }
}

void BookWindow::focus_search() {
    txtSearch->setFocus(Qt::ShortcutFocusReason);
    txtSearch->selectAll();
}

void BookWindow::set_open_locked(bool locked) {
    open_locked_ = locked;
    update_commands();
}

void BookWindow::txtSearch_Change() {
    reload();
}

void BookWindow::btnOpen_Click() {
    const auto record = selected();
    if (!record || open_locked_) return;
    current_name_ = record->entry.name;
    link_.open_entry(record->entry);
}

void BookWindow::btnSave_Click() {
    if (!book_ || book_->read_only()) return;
    std::optional<book::Entry> entry = link_.current_entry();
    if (!entry) {
        show_problem(
            QStringLiteral("生年月日と生まれた時刻（時刻不明なら「?」）を入力してから保存してください。"));
        return;
    }
    NameFields fields{qtext(current_name_), {}, {}};
    if (auto known = book_->find(current_name_);
        !current_name_.empty() && known.index() == 0 && std::get<0>(known)) {
        fields.kana = qtext(std::get<0>(known)->entry.kana);
        fields.memo = qtext(std::get<0>(known)->entry.memo);
    }
    if (!ask_name(this, QStringLiteral("名簿に保存"), QStringLiteral("保存"), fields)) return;
    entry->name = fields.name.toStdString();
    entry->kana = fields.kana.toStdString();
    entry->memo = fields.memo.toStdString();
    const auto known = book_->find(entry->name);
    if (known.index() == 0 && std::get<0>(known) &&
        !confirm(this,
                 QStringLiteral("「%1」はすでに名簿にあります。今の入力で置き換えますか？").arg(fields.name),
                 QStringLiteral("置き換える")))
        return;
    const auto saved = book_->save(*entry);
    if (auto* error = std::get_if<book::BookError>(&saved)) {
        show_problem(qtext(error->message));
        return;
    }
    current_name_ = entry->name;
    link_.saved_entry(*entry);
    reload();
}

void BookWindow::btnEdit_Click() {
    const auto record = selected();
    if (!record || !book_) return;
    NameFields fields{qtext(record->entry.name), qtext(record->entry.kana), qtext(record->entry.memo)};
    if (!ask_name(this, QStringLiteral("名簿の編集"), QStringLiteral("変更"), fields)) return;
    if (const auto error = book_->edit(record->id, fields.name.toStdString(), fields.kana.toStdString(),
                                       fields.memo.toStdString())) {
        show_problem(qtext(error->message));
    } else if (current_name_ == record->entry.name) {
        current_name_ = fields.name.toStdString();
    }
    reload();
}

void BookWindow::btnDelete_Click() {
    const auto record = selected();
    if (!record || !book_ || book_->read_only()) return;
    if (!confirm(this, QStringLiteral("「%1」を名簿から削除しますか？").arg(qtext(record->entry.name)),
                 QStringLiteral("削除する")))
        return;
    if (const auto error = book_->remove(record->id)) show_problem(qtext(error->message));
    reload();
}

void BookWindow::btnChoose_Click() {
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("名簿を選ぶ"), path_, QStringLiteral("名簿 (*.sqlite3);;すべてのファイル (*)"),
        nullptr, QFileDialog::DontConfirmOverwrite);
    if (path.isEmpty()) return;
    book_.reset();
    path_ = path;
    current_name_.clear();
    open_book();
}

void BookWindow::btnClose_Click() {
    hide();
}

void BookWindow::import_lines() {
    if (!open_book()) return;
    if (book_->read_only()) {
        show_problem(qtext(book_->read_only_reason() + "。名簿は変更できません。"));
        return;
    }
    const QString path =
        QFileDialog::getOpenFileName(dialog_parent(), QStringLiteral("名簿の読み込み"), QString(),
                                     QStringLiteral("JSON行 (*.jsonl *.json);;すべてのファイル (*)"));
    if (path.isEmpty()) return;
    std::ifstream in(path.toStdString(), std::ios::binary);
    if (!in) {
        show_problem(QStringLiteral("ファイルを開けません（%1）: %2").arg(file_error_reason(errno), path));
        return;
    }
    const book::ReadLines read = book::read_record_lines(in);
    if (!read.problems.empty()) {
        QString text =
            QStringLiteral("読めない行が%1行あるため、何も読み込んでいません。\n").arg(read.problems.size());
        for (std::size_t i = 0; i < read.problems.size() && i < kListedBadLines; ++i)
            text += QStringLiteral("\n%1行目: %2")
                        .arg(read.problems[i].line)
                        .arg(qtext(read.problems[i].message));
        if (read.problems.size() > kListedBadLines)
            text += QStringLiteral("\nほか%1行").arg(read.problems.size() - kListedBadLines);
        QMessageBox::warning(dialog_parent(), kTitle, text);
        return;
    }
    const auto imported = book_->import_records(read.records);
    if (auto* error = std::get_if<book::BookError>(&imported)) {
        show_problem(qtext(error->message));
        return;
    }
    const auto& count = std::get<book::ImportCount>(imported);
    reload();
    QMessageBox::information(
        dialog_parent(), kTitle,
        QStringLiteral("%1人を追加し、%2人を置き換えました。").arg(count.added).arg(count.replaced));
}

void BookWindow::export_lines() {
    if (!open_book()) return;
    const QString path = QFileDialog::getSaveFileName(
        dialog_parent(), QStringLiteral("名簿の書き出し"), QStringLiteral("people.jsonl"),
        QStringLiteral("JSON行 (*.jsonl);;すべてのファイル (*)"));
    if (path.isEmpty()) return;
    if (const auto error = book::export_book_file(*book_, path)) {
        show_problem(qtext(error->message));
        return;
    }
    const auto people = book_->list();
    const auto* written = std::get_if<std::vector<book::Record>>(&people);
    QMessageBox::information(dialog_parent(), kTitle,
                             QStringLiteral("%1人を書き出しました。\n%2")
                                 .arg(written ? written->size() : 0)
                                 .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath())));
}

} // namespace vantora::ui
