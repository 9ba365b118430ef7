// mainform01: the main window. It collects the birth data in a fixed order (year, month, day,
// hour, minute), runs the chart computation and shows the whole chart; every other window is
// opened from here.
#pragma once

#include "chart/chart.hpp"
#include "core/calendar.hpp"
#include "core/tables.hpp"
#include "core/term_file.hpp"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace vantora::ui {

class frmexport;
class frmjpmap;
class frmpop01;
class yInput;

/// An up-down spin control bound to a text box: each arrow press steps the number shown in the
/// box (its numeric value, rounded and clamped into [minimum, maximum]) by one, writes the result
/// back as a plain integer and emits changed(). The arrows stop at the ends of the range; a press
/// that leaves the number unchanged writes nothing and emits nothing.
class UpDown : public QWidget {
    Q_OBJECT
public:
    UpDown(QLineEdit* buddy, int minimum, int maximum, QWidget* parent = nullptr);

    void step_up() { step(+1); }
    void step_down() { step(-1); }

signals:
    /// An arrow changed the number in the bound box.
    void changed(int value);

private:
    void step(int delta);

    QLineEdit* buddy_;
    int minimum_, maximum_;
    QToolButton* up_ = nullptr;
    QToolButton* down_ = nullptr;
};

class mainform01 : public QMainWindow {
    Q_OBJECT
public:
    /// Loads the term tables; init_tables() unless a test gives its own.
    using TableLoader = std::function<TermResult<TermTables>()>;

    explicit mainform01(QWidget* parent = nullptr);
    ~mainform01() override;

    /// Builds the window and runs Form_Load; nullptr when the term files could not be loaded
    /// (the error has then been shown to the user).
    static std::unique_ptr<mainform01> create(QWidget* startup_window = nullptr, TableLoader loader = {});

    /// Start-up: centres the window, closes startup_window (may be null), locks the month, day,
    /// hour and minute lists and "八字表示", loads the term tables and locks the chart commands.
    /// On a loader error shows it in a modal message box and returns false.
    bool Form_Load(QWidget* startup_window = nullptr, TableLoader loader = {});

    /// The texts the window shows now, control by control (the reversed view included).
    ChartTexts shown_texts() const;
    /// Whether luck pillar i (0..10) is shown in bold, as the current one.
    bool luck_bold(int i) const;
    /// The chart last computed by "八字表示", if any.
    const std::optional<Chart>& last_chart() const { return chart_; }
    /// The month lengths of the accepted birth year (all 0 before one is accepted).
    const MonthDays& month_days() const { return month_days_; }

    /// Rebuilds txtBirthday from the birth fields and the hour and minute list texts.
    void birthday_data();

    // Called by the birth-year dialog's "決定", in its order.
    std::optional<double> birth_year() const { return birth_year_; }
    void set_birth_year(double year) { birth_year_ = year; }
    void enable_month_list();
    void set_month_days_of_birth_year();
    /// When the day list shows a day: a day beyond the month's length becomes its last day.
    void clamp_shown_day();

    /// True while the program closes its windows on the way out.
    bool is_ending() const { return ending_; }

    QPointer<yInput> year_dialog() const { return year_dialog_; }
    QPointer<frmexport> export_window() const { return export_window_; }
    QPointer<frmpop01> popup_window() const { return popup_window_; }
    QPointer<frmjpmap> map_window() const { return map_window_; }

protected:
    /// Form_Unload: closing the main window closes every other window of the program.
    void closeEvent(QCloseEvent* event) override;

private:
    void create_inputs(QWidget* client);
    void create_displays(QWidget* client);
    void create_captions(QWidget* client);
    void create_menus();
    void create_connections();

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
    void fInput_Click();
    void btn_000_Click();
    void btn_111_Click();
    void btnmap_Click();
    void mnuMap_Click();
    void btnpop_Click();
    void menupop_Click();
    void btnexport_Click();
    void menuversion_Click();
    void endbtn_Click();
    void endzarvel_Click();

    BirthRecord birth_record() const;
    void show_chart(const Chart& chart);
    void set_reversal_locked(bool locked);
    /// Replaces the day list by "1".."days", keeping the shown entry (even one beyond days) until
    /// select_last_day() replaces it.
    void rebuild_day_list(int days);
    /// Shows the entry "days" and drops the entries after it.
    void select_last_day(int days);
    void close_secondary_windows();

    // Birth fields: empty until chosen.
    std::optional<double> birth_year_, birth_month_, birth_day_, birth_hour_, birth_minute_;
    MonthDays month_days_;
    std::optional<TermTables> tables_;
    std::optional<Chart> chart_;
    QString saved_season_text_;
    bool ending_ = false;

    QPointer<yInput> year_dialog_;
    QPointer<frmexport> export_window_;
    QPointer<frmpop01> popup_window_;
    QPointer<frmjpmap> map_window_;

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
    QLabel* yKan = nullptr;
    QLabel* mKan = nullptr;
    QLabel* dKan = nullptr;
    QLabel* hKan = nullptr;
    QLabel* lbl_yZokan = nullptr;
    QLabel* lbl_mZokan = nullptr;
    QLabel* lblOu = nullptr;
    std::array<QLabel*, 6> seikoku_{}; ///< the six relation labels of the reversed view
    QLabel* lbl_ySeikoku = nullptr;
    QLabel* lbl_mSeikoku = nullptr;
    QLabel* lbl_hSeikoku = nullptr;
    QLabel* lbl_yzSeikoku = nullptr;
    QLabel* lbl_dzSeikoku = nullptr;
    QLabel* lbl_hzSeikoku = nullptr;
    std::array<QLabel*, kLuckPillarCount> dun_kan{}, dun_shi{};
    std::array<QLabel*, 10> sai1{};
    std::array<QLabel*, kLuckPillarCount> sai2{};

    /// Every single-text display with the ChartTexts field it shows.
    std::vector<std::pair<QWidget*, std::string ChartTexts::*>> text_fields_;

    QAction* endzarvel = nullptr;
    QAction* mnuMap = nullptr;
    QAction* menupop = nullptr;
    QAction* menujisa01 = nullptr;
    QAction* menuversion = nullptr;
};

} // namespace vantora::ui
