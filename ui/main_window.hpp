// MainWindow: the main window. It collects the birth data in a fixed order (year, month, day,
// hour, minute), runs the chart computation and shows the whole chart; every other window is
// opened from here. The controls are built in main_window_form.cpp, the handlers live in
// main_window.cpp.
#pragma once

#include "book/entry.hpp"
#include "chart/chart.hpp"
#include "chart/shown_chart.hpp"
#include "core/calendar.hpp"
#include "core/tables.hpp"
#include "core/term_file.hpp"
#include "ui/chart_print.hpp"
#include "ui/popup_window.hpp"
#include "ui/settings_dialog.hpp"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>
#include <optional>
#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vantora::ui {

class UpDown;
class DetailsWindow;
class BookWindow;
class CompatibilityWindow;
class ExportWindow;
class MapWindow;
class PopupWindow;
class YearDialog;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    /// Loads the term tables; init_tables() unless a test gives its own.
    using TableLoader = std::function<TermResult<TermTables>()>;

    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    /// Start-up: centres the window, closes startup_window (may be null), locks the month, day,
    /// hour and minute lists and "八字表示", loads the term tables and locks the chart commands.
    /// On a loader error shows it in a modal message box and returns false.
    bool Form_Load(QWidget* startup_window = nullptr, TableLoader loader = {});

    /// The chart last computed by "八字表示", if any.
    const std::optional<Chart>& last_chart() const { return chart_; }
    /// The chart as the window shows it now (computed or reversed view), if any.
    const std::optional<ShownChart>& shown() const { return shown_; }
    /// The month lengths of the accepted birth year (all 0 before one is accepted).
    const MonthDays& month_days() const { return month_days_; }
    /// The accepted birth year, if any.
    std::optional<double> birth_year() const { return birth_year_; }

    /// Rebuilds txtBirthday from the birth fields and the hour and minute list texts.
    void birthday_data();

    /// What "決定" of the birth-year dialog does with its year: stores it, rebuilds the birth-date
    /// text, unlocks the month list, sets the month lengths of that year and keeps the shown day
    /// within its month.
    void accept_birth_year(double year);

    /// True while the program closes its windows on the way out.
    bool is_ending() const { return ending_; }

    /// The chart book the book window and its import and export use (--book PATH); until set,
    /// the default book. Nothing is opened or written before the user asks for the book.
    void set_book_path(const QString& path) { book_path_ = path; }
    /// The birth the inputs hold now, as a book entry without name; nothing while the year,
    /// month, day or hour is still missing.
    std::optional<book::Entry> current_entry() const;
    /// Fills the inputs with an entry as a user would enter it — the year through the year
    /// dialog's "決定", then the month, day, hour and minute lists, sex and both time-difference
    /// texts — and computes the chart ("八字表示").
    void open_entry(const book::Entry& person);
    /// The name of the book's person whose birth the inputs hold: the person last opened or saved
    /// through the book, as long as the inputs are still theirs. Heads a printed chart.
    std::optional<QString> person_name() const;

    QPointer<YearDialog> year_dialog() const { return year_dialog_; }
    QPointer<BookWindow> book_window() const { return book_window_; }
    QPointer<ExportWindow> export_window() const { return export_window_; }
    QPointer<PopupWindow> popup_window() const { return popup_window_; }
    QPointer<MapWindow> map_window() const { return map_window_; }
    QPointer<DetailsWindow> details_window() const { return details_window_; }

protected:
    /// Form_Unload: closing the main window closes every other window of the program.
    void closeEvent(QCloseEvent* event) override;

private:
    // Building the window (main_window_form.cpp).
    void create_inputs(QWidget* client);
    void create_displays(QWidget* client);
    void create_captions(QWidget* client);
    void create_menus();
    void create_connections();

    // Handlers.
    void yearInput_Click();
    void mSelect_Click();
    void dSelect_Click();
    void hSelect_Click();
    void mtSelect_Click();
    void optM_Click();
    void optW_Click();
    void udJisahun_Change();
    void udJisabyo_Change();
    void menujisa01_Click();
    /// "設定…": the rules dialog; accepted rules are kept and a shown chart is computed again.
    void menusettings_Click();
    void fInput_Click();
    void btn_000_Click();
    void btn_111_Click();
    void btnmap_Click();
    void mnuMap_Click();
    void btnpop_Click();
    void menupop_Click();
    void menudetail_Click();
    void menuprint_Click();
    void menupdf_Click();
    void btnexport_Click();
    void menuversion_Click();
    void endbtn_Click();
    void endzarvel_Click();
    void menubook_Click();
    void menubookin_Click();
    void menubookout_Click();

    /// The birth as the inputs hold it now, fields not yet entered left empty.
    request::TypedBirth typed_birth() const;
    Sex chosen_sex() const;
    /// The shown chart's texts as the pop-up and the export copy them: the birth-date sentence
    /// follows the inputs as they are now, like txtBirthday does.
    ChartTexts copied_texts() const;
    /// The shown chart as the pop-up and the printed page copy it: copied_texts(), the bold luck
    /// pillar and the sex.
    PopupContent copied_chart() const;
    /// The page the print and PDF commands make: the chart shown, its readings when computed, the
    /// book person's name and place when the inputs are still theirs, and the time difference.
    ChartPage printed_page() const;
    /// Paints a chart value into the display controls and keeps it as the shown chart.
    void paint(ShownChart shown);
    /// Enables or disables every command that reads the shown chart (POP, EXP and their kin).
    void set_chart_commands_enabled(bool enabled);
    void set_reversal_locked(bool locked);
    /// Replaces the day list by "1".."days", keeping the shown entry (even one beyond days) until
    /// select_last_day() replaces it.
    void rebuild_day_list(int days);
    /// Shows the entry "days" and drops the entries after it.
    void select_last_day(int days);
    /// When the day list shows a day: a day beyond the month's length becomes its last day.
    void clamp_shown_day();
    void close_secondary_windows();
    /// Fills the details window (which must exist) with the computed chart.
    void show_details();
    /// The birth-year dialog, created and connected on first use.
    YearDialog* loaded_year_dialog();
    /// The book window, created on first use.
    BookWindow* loaded_book_window();
    /// Opens (or refreshes) the window of two births side by side; nothing when either chart cannot
    /// be computed.
    void compare(const book::Entry& first, const book::Entry& second);

    // Birth fields: empty until chosen.
    std::optional<double> birth_year_, birth_month_, birth_day_, birth_hour_, birth_minute_;
    MonthDays month_days_;
    std::optional<TermTables> tables_;
    /// The rules charts are computed with, as kept between runs.
    ChartRules rules_ = saved_rules();
    std::optional<Chart> chart_;
    std::optional<ShownChart> shown_;
    bool ending_ = false;

    QPointer<YearDialog> year_dialog_;
    QPointer<ExportWindow> export_window_;
    QPointer<PopupWindow> popup_window_;
    QPointer<MapWindow> map_window_;
    QPointer<DetailsWindow> details_window_;
    QPointer<CompatibilityWindow> compatibility_window_;
    QPointer<BookWindow> book_window_;
    QString book_path_;
    /// The entry last opened or saved through the book (name included).
    std::optional<book::Entry> book_person_;

    QPushButton* yearInput = nullptr;
    QComboBox* mSelect = nullptr;
    QComboBox* dSelect = nullptr;
    QComboBox* hSelect = nullptr;
    QComboBox* mtSelect = nullptr;
    QRadioButton* optW = nullptr;
    QRadioButton* optM = nullptr;
    QLineEdit* txtJisahun = nullptr;
    UpDown* udJisahun = nullptr;
    QLineEdit* txtJisabyo = nullptr;
    UpDown* udJisabyo = nullptr;
    QPushButton* btnmap = nullptr;
    QPushButton* fInput = nullptr;
    QPushButton* endbtn = nullptr;
    QPushButton* btn_000 = nullptr;
    QPushButton* btn_111 = nullptr;
    QPushButton* btnexport = nullptr;
    QPushButton* btnpop = nullptr;
    QLineEdit* txtBirthday = nullptr;

    /// Every display control of the chart by name ("yKan", "dun_kan_3", "lbl_ySeikoku", …).
    QHash<QString, QWidget*> displays_;
    /// The six relation labels, shown only in the reversed view.
    std::array<QLabel*, 6> seikoku_{};

    QAction* menubook = nullptr;
    QAction* menubookin = nullptr;
    QAction* menubookout = nullptr;
    QAction* endzarvel = nullptr;
    QAction* mnuMap = nullptr;
    QAction* menupop = nullptr;
    QAction* menudetail = nullptr; ///< "詳細（Ｄ）": the details window of the computed chart
    QAction* menuprint = nullptr;
    QAction* menupdf = nullptr;
    QAction* menujisa01 = nullptr;
    QAction* menusettings = nullptr;
    /// A notice about the chart shown (e.g. a clock time in summer time), hidden when there is none.
    QLabel* lblNotice = nullptr;
    QAction* menuversion = nullptr;
    /// Menu items that read the shown chart: enabled with POP after a chart, locked in the
    /// reversed view (menupop, menudetail).
    std::vector<QAction*> chart_actions_;
    /// Menu items locked in the reversed view like the input controls (mnuMap, menujisa01 and
    /// any added item that changes the inputs).
    std::vector<QAction*> input_actions_;
};

} // namespace vantora::ui
