// The main window's handlers: the birth fields in their order, the chart, the reversed view and
// the other windows.
#include "ui/main_window.hpp"

#include "chart/birth_record.hpp"
#include "chart/compute_chart.hpp"
#include "chart/export_text.hpp"
#include "chart/number_text.hpp"
#include "chart/summer_time.hpp"
#include "ui/about_message.hpp"
#include "ui/book_window.hpp"
#include "ui/chart_print.hpp"
#include "ui/compatibility_window.hpp"
#include "ui/details_window.hpp"
#include "ui/export_window.hpp"
#include "ui/form_kit.hpp"
#include "ui/map_window.hpp"
#include "ui/popup_window.hpp"
#include "ui/ui_common.hpp"
#include "ui/up_down.hpp"
#include "ui/year_dialog.hpp"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include <algorithm>

namespace vantora::ui {
namespace {

const QString kUnknown = QStringLiteral("?");

/// Shows a secondary window in front of the others, with the keyboard focus.
void bring_to_front(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

double value_of(const QComboBox* list) {
    return numeric_value(list->currentText().toStdString());
}

} // namespace

MainWindow::~MainWindow() {
    delete year_dialog_.data();
    delete export_window_.data();
    delete popup_window_.data();
    delete map_window_.data();
    delete details_window_.data();
    delete compatibility_window_.data();
    delete book_window_.data();
}

// ---------------------------------------------------------------------------------------------
// Start-up

bool MainWindow::Form_Load(QWidget* startup_window, TableLoader loader) {
    centre_on_screen(this);
    if (startup_window) startup_window->close();
    for (QWidget* locked : std::initializer_list<QWidget*>{mSelect, dSelect, hSelect, mtSelect, fInput})
        locked->setEnabled(false);

    TermResult<TermTables> loaded = loader ? loader() : init_tables();
    if (const auto* error = std::get_if<TermFileError>(&loaded)) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Vantora 起動エラー"), qtext(error->message),
                        QMessageBox::Ok, this);
        box.setObjectName("startup_error");
        box.exec();
        return false;
    }
    tables_ = std::get<TermTables>(std::move(loaded));

    set_chart_commands_enabled(false);
    btn_000->setEnabled(false);
    yearInput->setFocus();
    return true;
}

// ---------------------------------------------------------------------------------------------
// The birth fields

request::TypedBirth MainWindow::typed_birth() const {
    const auto text_of = [](const std::optional<double>& value) {
        return value ? general_text(*value) : std::string();
    };
    const std::string hour_text = hSelect->currentText().toStdString();
    const std::string minute_text = mtSelect->currentText().toStdString();
    request::TypedBirth birth;
    birth.year = text_of(birth_year_);
    birth.month = text_of(birth_month_);
    birth.day = text_of(birth_day_);
    birth.hour = hour_text == "?" ? hour_text : text_of(birth_hour_);
    birth.minute = minute_text.empty() || minute_text == "?" ? minute_text : text_of(birth_minute_);
    birth.sex = request::sex_word(chosen_sex());
    birth.offset_minutes = txtJisahun->text().toStdString();
    birth.offset_seconds = txtJisabyo->text().toStdString();
    return birth;
}

void MainWindow::birthday_data() {
    set_shown_text(txtBirthday, qtext(request::birthday_data(typed_birth())));
}

void MainWindow::accept_birth_year(double year) {
    birth_year_ = year;
    if (year_dialog_) year_dialog_->set_accepted_year(year);
    birthday_data();
    mSelect->setEnabled(true);
    vantora::set_month_days(month_days_, year);
    clamp_shown_day();
}

void MainWindow::clamp_shown_day() {
    if (!birth_month_) return;
    const int days = month_days_[static_cast<int>(*birth_month_)];
    // The list offers the days of the month in the newly accepted year.
    rebuild_day_list(days);
    if (dSelect->currentText().isEmpty()) return;
    if (birth_day_ && *birth_day_ > days) {
        birth_day_ = days;
        select_last_day(days);
    }
    birthday_data();
}

void MainWindow::rebuild_day_list(int days) {
    const QSignalBlocker blocker(dSelect);
    const int shown = dSelect->currentIndex();
    const int keep = std::max(days, shown + 1);
    while (dSelect->count() > keep) dSelect->removeItem(dSelect->count() - 1);
    for (int day = dSelect->count() + 1; day <= days; ++day) dSelect->addItem(QString::number(day));
    dSelect->setCurrentIndex(shown);
}

void MainWindow::select_last_day(int days) {
    const QSignalBlocker blocker(dSelect);
    dSelect->setCurrentIndex(days - 1);
    while (dSelect->count() > days) dSelect->removeItem(dSelect->count() - 1);
}

YearDialog* MainWindow::loaded_year_dialog() {
    if (!year_dialog_) {
        year_dialog_ = new YearDialog();
        own_by(year_dialog_, this);
        connect(year_dialog_, &YearDialog::finished, this, [this] {
            setEnabled(true);
            activateWindow();
        });
        connect(year_dialog_, &YearDialog::accepted, this, [this](double year) {
            accept_birth_year(year);
            mSelect->setFocus(); // the next field to fill
        });
        year_dialog_->Form_Load(birth_year_);
    }
    return year_dialog_;
}

void MainWindow::yearInput_Click() {
    bring_to_front(loaded_year_dialog());
    setEnabled(false);
    btn_000->setEnabled(false);
}

void MainWindow::mSelect_Click() {
    birth_month_ = value_of(mSelect);
    dSelect->setEnabled(true);
    btn_000->setEnabled(false);
    const int days = month_days_[static_cast<int>(*birth_month_)];
    rebuild_day_list(days);
    birthday_data();
    if (!dSelect->currentText().isEmpty()) {
        if (birth_day_ && *birth_day_ > days) {
            birth_day_ = days;
            select_last_day(days);
        }
        birthday_data();
    }
}

void MainWindow::dSelect_Click() {
    birth_day_ = value_of(dSelect);
    const int days = month_days_[static_cast<int>(birth_month_.value_or(1))];
    if (*birth_day_ > days) {
        birth_day_ = days;
        select_last_day(days);
    }
    birthday_data();
    hSelect->setEnabled(true);
    btn_000->setEnabled(false);
}

void MainWindow::hSelect_Click() {
    mtSelect->setEnabled(true);
    btn_000->setEnabled(false);
    birth_hour_ = value_of(hSelect);
    birthday_data();
    if (hSelect->currentText() == kUnknown) {
        fInput->setEnabled(true);
        mtSelect->setEnabled(false);
    }
}

void MainWindow::mtSelect_Click() {
    birth_minute_ = value_of(mtSelect);
    fInput->setEnabled(true);
    btn_000->setEnabled(false);
    birthday_data();
}

void MainWindow::optM_Click() {
    btn_000->setEnabled(false);
}

void MainWindow::optW_Click() {
    btn_000->setEnabled(false);
}

// ---------------------------------------------------------------------------------------------
// Time difference

void MainWindow::udJisahun_Change() {
    btn_000->setEnabled(false);
}

void MainWindow::udJisabyo_Change() {
    btn_000->setEnabled(false);
}

void MainWindow::menujisa01_Click() {
    txtJisahun->setText(QStringLiteral("0"));
    txtJisabyo->setText(QStringLiteral("0"));
}

// ---------------------------------------------------------------------------------------------
// The chart

Sex MainWindow::chosen_sex() const {
    return optM->isChecked() ? Sex::male : Sex::female;
}

void MainWindow::menusettings_Click() {
    SettingsDialog dialog(rules_, this);
    if (dialog.exec() != QDialog::Accepted) return;
    rules_ = dialog.chosen_rules();
    save_rules(rules_);
    if (chart_) fInput_Click();
}

void MainWindow::fInput_Click() {
    if (tables_) {
        ChartResult computed =
            compute_chart(request::birth_record(typed_birth()), local_now(), *tables_, rules_);
        if (const auto* error = std::get_if<ChartError>(&computed)) {
            // The chart shown before, if any, stays as it was.
            QMessageBox box(QMessageBox::Warning, QStringLiteral("Vantora"), qtext(error->message),
                            QMessageBox::Ok, this);
            box.setObjectName("chart_error");
            box.exec();
            return;
        }
        chart_ = std::get<Chart>(std::move(computed));
        lblNotice->setText(chart_->summer_time_notice ? qtext(kSummerTimeNotice) : QString());
        lblNotice->setVisible(chart_->summer_time_notice);
    }
    set_chart_commands_enabled(true);
    btn_000->setEnabled(true);
    if (chart_) paint(shown_chart(*chart_));
    // An open details window follows the chart shown, as the book's people are opened one by one.
    if (details_window_ && details_window_->isVisible()) show_details();
}

void MainWindow::paint(ShownChart shown) {
    const auto show = [this](const QString& name, const std::string& text) {
        set_shown_text(displays_.value(name), qtext(text));
    };
    for_each_control(
        shown.texts,
        [&](std::string_view name, const std::string& text) {
            // The birth-date text follows the inputs, not the computation.
            if (name != "txtBirthday") show(qtext(name), text);
        },
        [&](std::string_view row, std::span<const std::string> texts) {
            for (std::size_t i = 0; i < texts.size(); ++i) show(qtext(row) + QString("_%1").arg(i), texts[i]);
        });
    for (int i = 0; i < static_cast<int>(kLuckPillarCount); ++i) {
        const bool current = shown.bold_luck == i;
        set_bold(displays_.value(QStringLiteral("dun_kan_%1").arg(i)), current);
        set_bold(displays_.value(QStringLiteral("dun_shi_%1").arg(i)), current);
    }
    if (shown.reversed) {
        for_each_reversed_control(*shown.reversed, [&](std::string_view name, const std::string& text) {
            show(qtext(name), text);
        });
    }
    for (QLabel* relation : seikoku_) relation->setVisible(shown.reversed.has_value());
    shown_ = std::move(shown);
}

ChartTexts MainWindow::copied_texts() const {
    ChartTexts texts = shown_ ? shown_->texts : ChartTexts{};
    texts.txtBirthday = request::birthday_data(typed_birth());
    return texts;
}

void MainWindow::set_chart_commands_enabled(bool enabled) {
    btnpop->setEnabled(enabled);
    btnexport->setEnabled(enabled);
    for (QAction* item : chart_actions_) item->setEnabled(enabled);
}

// ---------------------------------------------------------------------------------------------
// Reversed view

void MainWindow::set_reversal_locked(bool locked) {
    for (QWidget* control : std::initializer_list<QWidget*>{yearInput, mSelect, dSelect, hSelect, mtSelect,
                                                            optW, optM, udJisahun, udJisabyo, btnmap, fInput})
        control->setEnabled(!locked);
    for (QAction* item : input_actions_) item->setEnabled(!locked);
    // The seconds box stays enabled, as the disabled controls are listed, but takes no typing:
    // every other input is locked.
    txtJisabyo->setReadOnly(locked);
    set_chart_commands_enabled(!locked);
    if (book_window_) book_window_->set_open_locked(locked);
    if (details_window_) details_window_->note_reversed_view(locked);
}

void MainWindow::btn_000_Click() {
    if (!chart_) return;
    btn_111->show();
    btn_000->hide();
    set_reversal_locked(true);
    paint(shown_chart(*chart_, ChartView::reversed));
    endbtn->setFocus();
}

void MainWindow::btn_111_Click() {
    btn_111->hide();
    btn_000->show();
    set_reversal_locked(false);
    if (chart_) paint(shown_chart(*chart_));
}

// ---------------------------------------------------------------------------------------------
// The other windows

void MainWindow::btnmap_Click() {
    if (!map_window_) {
        map_window_ = new MapWindow(nullptr);
        own_by(map_window_, this);
        connect(map_window_, &MapWindow::decided, this,
                [this](const QString& minutes, const QString& seconds) {
                    txtJisahun->setText(minutes);
                    txtJisabyo->setText(seconds);
                });
        connect(map_window_, &MapWindow::closed_through_frame, this, [this] {
            if (ending_) return;
            show();
            raise();
            activateWindow();
        });
    }
    bring_to_front(map_window_);
    btn_000->setEnabled(false);
}

void MainWindow::mnuMap_Click() {
    btnmap_Click();
}

void MainWindow::btnpop_Click() {
    if (!popup_window_) {
        popup_window_ = new PopupWindow(nullptr);
        own_by(popup_window_, this);
    }
    bring_to_front(popup_window_);
    popup_window_->copy_chart(copied_chart());
}

void MainWindow::menupop_Click() {
    btnpop_Click();
}

void MainWindow::menudetail_Click() {
    if (!chart_) return;
    if (!details_window_) {
        details_window_ = new DetailsWindow(nullptr);
        own_by(details_window_, this);
    }
    bring_to_front(details_window_);
    show_details();
}

void MainWindow::show_details() {
    // The readings of the chart as computed, read from the clock's present year on.
    details_window_->show_details({*chart_, local_now(), tables_ ? &*tables_ : nullptr});
}

PopupContent MainWindow::copied_chart() const {
    const bool notice = shown_ && !shown_->reversed && chart_ && chart_->summer_time_notice;
    return {copied_texts(), shown_ ? shown_->bold_luck : std::nullopt, chosen_sex(),
            notice ? std::string(kSummerTimeNotice) : std::string()};
}

ChartPage MainWindow::printed_page() const {
    // The readings are those of the chart as computed, never of the reversed view.
    const bool computed = shown_ && !shown_->reversed;
    const std::optional<QString> name = person_name();
    const QString place = name ? qtext(book_person_->birth.place.value_or("")) : QString();
    return {copied_chart(), computed ? chart_ : std::nullopt, local_now(), name,
            birth_place_text(place, txtJisahun->text(), txtJisabyo->text())};
}

void MainWindow::menuprint_Click() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(chart_page_layout());
    printer.setDocName(qtext(copied_texts().txtBirthday));
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName("print_dialog");
    dialog.setWindowTitle(QStringLiteral("印刷"));
    if (dialog.exec() != QDialog::Accepted) return;
    if (!print_chart(printer, printed_page()))
        QMessageBox::warning(this, QStringLiteral("印刷"),
                             QStringLiteral("印刷できませんでした。プリンターの設定を確かめてください。"));
}

void MainWindow::menupdf_Click() {
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("PDFに保存"), QString(),
                                                      QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty()) return;
    if (const auto failure = save_chart_pdf(path, printed_page()))
        QMessageBox::warning(this, QStringLiteral("PDFに保存"), *failure);
}

void MainWindow::btnexport_Click() {
    if (!export_window_) {
        export_window_ = new ExportWindow(nullptr);
        own_by(export_window_, this);
    }
    bring_to_front(export_window_);
    export_window_->set_export_text(
        qtext(export_text(copied_texts(), chosen_sex(), general_date_text(local_now()))));
}

void MainWindow::menuversion_Click() {
    show_about_message(this);
}

// ---------------------------------------------------------------------------------------------
// Chart book

std::optional<book::Entry> MainWindow::current_entry() const {
    if (!birth_year_ || !birth_month_ || !birth_day_ || hSelect->currentText().isEmpty()) return std::nullopt;
    book::Entry entry;
    entry.birth = typed_birth();
    // The lists' own texts; with the hour unknown the greyed minute list means no minute, whatever
    // it still shows.
    entry.birth.hour = hSelect->currentText().toStdString();
    entry.birth.minute = entry.birth.hour == "?" ? std::string() : mtSelect->currentText().toStdString();
    return entry;
}

void MainWindow::open_entry(const book::Entry& person) {
    book_person_ = person;
    const request::TypedBirth& entry = person.birth;
    loaded_year_dialog()->accept_year(numeric_value(entry.year));
    const auto choose = [](QComboBox* list, const std::string& text) {
        list->setCurrentIndex(list->findText(qtext(text)));
    };
    choose(mSelect, entry.month);
    mSelect_Click();
    choose(dSelect, entry.day);
    dSelect_Click();
    const auto choose_minute = [&] {
        if (entry.minute.empty()) { // no minute was ever chosen
            mtSelect->setCurrentIndex(-1);
            birth_minute_.reset();
            birthday_data();
        } else {
            choose(mtSelect, entry.minute);
            mtSelect_Click();
        }
    };
    // A user reaches an unknown hour with a minute shown by choosing the minute before the "?".
    const bool hour_unknown = qtext(entry.hour) == kUnknown;
    if (hour_unknown) choose_minute();
    choose(hSelect, entry.hour);
    hSelect_Click();
    if (!hour_unknown) choose_minute();
    if (entry.sex == request::sex_word(Sex::male)) {
        optM->setChecked(true);
        optM_Click();
    } else {
        optW->setChecked(true);
        optW_Click();
    }
    txtJisahun->setText(qtext(entry.offset_minutes));
    txtJisabyo->setText(qtext(entry.offset_seconds));
    fInput->setEnabled(true);
    fInput_Click();
}

std::optional<QString> MainWindow::person_name() const {
    const auto inputs = current_entry();
    if (!book_person_ || !inputs) return std::nullopt;
    request::TypedBirth unplaced = book_person_->birth;
    unplaced.place.reset();
    if (inputs->birth != unplaced) return std::nullopt;
    return qtext(book_person_->name);
}

void MainWindow::compare(const book::Entry& first, const book::Entry& second) {
    if (!tables_) return;
    const LocalDateTime now = local_now();
    const auto person = [&](const book::Entry& entry) -> std::optional<ComparedPerson> {
        ChartResult computed = compute_chart(request::birth_record(entry.birth), now, *tables_, rules_);
        if (!std::holds_alternative<Chart>(computed)) return std::nullopt;
        // The main window's birth has no name of its own unless it is a book person's.
        const QString name =
            !entry.name.empty() ? qtext(entry.name) : person_name().value_or(QStringLiteral("表示中の命式"));
        return ComparedPerson{name, std::get<Chart>(std::move(computed))};
    };
    auto a = person(first), b = person(second);
    if (!a || !b) return;
    if (!compatibility_window_) compatibility_window_ = new CompatibilityWindow(nullptr);
    compatibility_window_->show_pair({*std::move(a), *std::move(b), now});
    bring_to_front(compatibility_window_);
}

BookWindow* MainWindow::loaded_book_window() {
    if (!book_window_) {
        const QString path = book_path_.isEmpty() ? book::Book::default_path() : book_path_;
        book_window_ = new BookWindow(
            path,
            {[this] { return current_entry(); }, [this](const book::Entry& entry) { open_entry(entry); },
             [this](const book::Entry& entry) { book_person_ = entry; },
             [this](const book::Entry& first, const book::Entry& second) { compare(first, second); }});
        book_window_->setAttribute(Qt::WA_DeleteOnClose);
        own_by(book_window_, this);
        book_window_->set_open_locked(!btn_111->isHidden());
    }
    return book_window_;
}

void MainWindow::menubook_Click() {
    BookWindow* window = loaded_book_window();
    bring_to_front(window);
    window->open_book();
    window->focus_search();
}

void MainWindow::menubookin_Click() {
    loaded_book_window()->import_lines();
}

void MainWindow::menubookout_Click() {
    loaded_book_window()->export_lines();
}

// ---------------------------------------------------------------------------------------------
// Exit

void MainWindow::close_secondary_windows() {
    ending_ = true;
    if (year_dialog_) {
        year_dialog_->disconnect(this); // nothing the dialog says matters any more
        year_dialog_->close();
    }
    if (map_window_) map_window_->close();
    if (popup_window_) popup_window_->close();
    if (details_window_) details_window_->close();
    if (compatibility_window_) compatibility_window_->close();
    if (export_window_) export_window_->close();
    if (book_window_) book_window_->close();
}

void MainWindow::endbtn_Click() {
    close_secondary_windows();
    close();
    QApplication::exit(0);
}

void MainWindow::endzarvel_Click() {
    endbtn_Click();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    close_secondary_windows();
    event->accept();
}

} // namespace vantora::ui
