#include "ui/main_window.hpp"

#include "chart/birth_record.hpp"
#include "chart/compute_chart.hpp"
#include "chart/export_text.hpp"
#include "chart/number_text.hpp"
#include "chart/reversal.hpp"
#include "core/names.hpp"
#include "ui/about_message.hpp"
#include "ui/export_window.hpp"
#include "ui/map_window.hpp"
#include "ui/popup_window.hpp"
#include "ui/ui_common.hpp"
#include "ui/year_dialog.hpp"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace vantora::ui {
namespace {

/// Client area below the menu bar, twips.
constexpr int kClientWidth = 5100;
constexpr int kClientHeight = 6450;

/// Range of the time-difference arrows: minutes of time, and seconds.
constexpr int kOffsetMinutesMin = -49, kOffsetMinutesMax = 48;
constexpr int kOffsetSecondsMin = 0, kOffsetSecondsMax = 59;
/// Longest text accepted by the seconds box.
constexpr int kSecondsMaxLength = 5;

const QString kPlaceholder = QStringLiteral("□");
const QString kUnknown = QStringLiteral("?");

/// Horizontal pitch of the luck-pillar columns, twips; column 0 is the rightmost.
constexpr int kLuckPitch = 420;

QString qtext(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void set_shown_text(QWidget* widget, const QString& text) {
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(text);
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(text);
        edit->setCursorPosition(0);
    }
}

QString shown_text(const QWidget* widget) {
    if (const auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) return edit->text();
    return {};
}

double value_of(const QComboBox* list) {
    return numeric_value(list->currentText().toStdString());
}

/// A display field: borderless, read-only, on the button-face background.
QLineEdit* display_text(QWidget* parent, const char* name, const QRect& rect,
                        Qt::Alignment alignment = Qt::AlignLeft) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setGeometry(rect);
    edit->setReadOnly(true);
    edit->setFrame(false);
    edit->setFocusPolicy(Qt::NoFocus);
    edit->setAlignment(alignment | Qt::AlignVCenter);
    edit->setTextMargins(0, 0, 0, 0);
    QPalette face = edit->palette();
    face.setColor(QPalette::Base, face.color(QPalette::Button));
    edit->setPalette(face);
    return edit;
}

QLabel* label(QWidget* parent, const QString& name, const QString& caption, const QRect& rect,
              const QFont& font, Qt::Alignment alignment = Qt::AlignCenter) {
    auto* result = new QLabel(caption, parent);
    result->setObjectName(name);
    result->setFont(font);
    result->setAlignment(alignment);
    result->setGeometry(rect);
    return result;
}

/// A fixed caption placed at its left and top; sized to its text.
QLabel* caption(QWidget* parent, const char* name, const QString& text, int left, int top,
                const QFont& font) {
    auto* result = new QLabel(text, parent);
    result->setObjectName(name);
    result->setFont(font);
    result->move(twips(left), twips(top));
    result->adjustSize();
    return result;
}

QComboBox* selection_list(QWidget* parent, const char* name, const QString& tip, const QRect& rect) {
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->setToolTip(tip);
    list->setGeometry(rect);
    list->setEditable(false);
    list->setMaxVisibleItems(16);
    return list;
}

QPushButton* command(QWidget* parent, const char* name, const QString& text, const QString& tip,
                     const QRect& rect) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setToolTip(tip);
    button->setGeometry(rect);
    return button;
}

QPushButton* picture_button(QWidget* parent, const char* name, const QString& picture, const QString& tip,
                            const QRect& rect) {
    auto* button = command(parent, name, QString(), tip, rect);
    button->setIcon(QIcon(data_picture(picture)));
    button->setIconSize(QSize(32, 32));
    return button;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// UpDown

UpDown::UpDown(QLineEdit* buddy, int minimum, int maximum, QWidget* parent)
    : QWidget(parent)
    , buddy_(buddy)
    , minimum_(minimum)
    , maximum_(maximum) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    up_ = new QToolButton(this);
    up_->setObjectName("up");
    up_->setArrowType(Qt::UpArrow);
    down_ = new QToolButton(this);
    down_->setObjectName("down");
    down_->setArrowType(Qt::DownArrow);
    for (QToolButton* arrow : {up_, down_}) {
        arrow->setAutoRepeat(true);
        arrow->setFocusPolicy(Qt::NoFocus);
        arrow->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
        layout->addWidget(arrow);
    }
    connect(up_, &QToolButton::clicked, this, &UpDown::step_up);
    connect(down_, &QToolButton::clicked, this, &UpDown::step_down);
}

void UpDown::step(int delta) {
    const double shown = std::clamp(numeric_value(buddy_->text().toStdString()),
                                    static_cast<double>(minimum_), static_cast<double>(maximum_));
    const int current = static_cast<int>(std::nearbyint(shown));
    const int next = std::clamp(current + delta, minimum_, maximum_);
    const QString text = QString::number(next);
    if (text == buddy_->text()) return;
    buddy_->setText(text);
    emit changed(next);
}

// ---------------------------------------------------------------------------------------------
// Building the window

mainform01::mainform01(QWidget* parent)
    : QMainWindow(parent) {
    setObjectName("mainform01");
    setWindowTitle(QStringLiteral("Vantora（Eldra）vantora.example.jp"));
    setWindowIcon(QIcon(data_picture("vantora.png")));
    setFont(gothic_font(9.75));

    auto* client = new QWidget(this);
    client->setObjectName("client");
    client->setFixedSize(twips(kClientWidth), twips(kClientHeight));
    setCentralWidget(client);

    create_inputs(client);
    create_displays(client);
    create_captions(client);
    create_menus();
    create_connections();

    setFixedSize(client->width(), client->height() + menuBar()->sizeHint().height());
}

mainform01::~mainform01() {
    delete year_dialog_.data();
    delete export_window_.data();
    delete popup_window_.data();
    delete map_window_.data();
}

void mainform01::create_inputs(QWidget* client) {
    // Created in tab order: the year button first.
    yearInput = command(client, "yearInput", QStringLiteral("年入力"), QStringLiteral("生年を入力"),
                        twips_rect(165, 90, 750, 315));

    mSelect = selection_list(client, "mSelect", QStringLiteral("生月を入力"), twips_rect(990, 75, 615, 315));
    for (int month = 1; month <= 12; ++month) mSelect->addItem(QString::number(month));
    dSelect = selection_list(client, "dSelect", QStringLiteral("生日を入力"), twips_rect(1980, 75, 615, 300));
    hSelect = selection_list(client, "hSelect", QStringLiteral("生時を入力"), twips_rect(2970, 75, 615, 300));
    hSelect->addItem(kUnknown);
    for (int hour = 0; hour <= 23; ++hour) hSelect->addItem(QString::number(hour));
    mtSelect =
        selection_list(client, "mtSelect", QStringLiteral("分数を入力"), twips_rect(3975, 75, 615, 300));
    mtSelect->addItem(kUnknown);
    for (int minute = 0; minute <= 59; ++minute) mtSelect->addItem(QString::number(minute));
    // Nothing is shown until the user chooses.
    for (QComboBox* list : {mSelect, hSelect, mtSelect}) list->setCurrentIndex(-1);

    optW = new QRadioButton(QStringLiteral("女"), client);
    optW->setObjectName("optW");
    optW->setGeometry(twips_rect(120, 495, 495, 255));
    optW->setChecked(true);
    optM = new QRadioButton(QStringLiteral("男"), client);
    optM->setObjectName("optM");
    optM->setGeometry(twips_rect(645, 495, 495, 255));

    txtJisahun = new QLineEdit(QStringLiteral("0"), client);
    txtJisahun->setObjectName("txtJisahun");
    txtJisahun->setGeometry(twips_rect(720, 900, 495, 300));
    txtJisahun->setReadOnly(true);
    txtJisahun->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txtJisahun->setTextMargins(0, 0, 0, 0);
    udJisahun = new UpDown(txtJisahun, kOffsetMinutesMin, kOffsetMinutesMax, client);
    udJisahun->setObjectName("udJisahun");
    udJisahun->setToolTip(QStringLiteral("時差の分数入力"));
    udJisahun->setGeometry(twips_rect(1170, 870, 255, 330));

    txtJisabyo = new QLineEdit(QStringLiteral("0"), client);
    txtJisabyo->setObjectName("txtJisabyo");
    txtJisabyo->setGeometry(twips_rect(1695, 900, 330, 285));
    txtJisabyo->setMaxLength(kSecondsMaxLength);
    txtJisabyo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txtJisabyo->setTextMargins(0, 0, 0, 0);
    udJisabyo = new UpDown(txtJisabyo, kOffsetSecondsMin, kOffsetSecondsMax, client);
    udJisabyo->setObjectName("udJisabyo");
    udJisabyo->setToolTip(QStringLiteral("時差の秒数入力"));
    udJisabyo->setGeometry(twips_rect(1995, 870, 255, 330));

    btnmap = command(client, "btnmap", QStringLiteral("地図"), QStringLiteral("時差を地図で決定"),
                     twips_rect(2745, 855, 645, 375));
    fInput = command(client, "fInput", QStringLiteral("八字表示"), QStringLiteral("Vantora"),
                     twips_rect(3375, 855, 930, 375));
    endbtn = command(client, "endbtn", QStringLiteral("終了"), QStringLiteral("おしまい"),
                     twips_rect(4305, 840, 645, 375));

    btn_000 = picture_button(client, "btn_000", "btn_reverse.png", QStringLiteral("旺の逆転"),
                             twips_rect(4395, 4755, 540, 555));
    btn_111 = picture_button(client, "btn_111", "btn_restore.png", QStringLiteral("暦に戻す"),
                             twips_rect(4380, 4755, 540, 555));
    btn_111->hide();
    btnexport = command(client, "btnexport", QStringLiteral("EXP"),
                        QStringLiteral("表示データをエクスポート"), twips_rect(4380, 5325, 555, 345));
    btnpop = command(client, "btnpop", QStringLiteral("POP"), QStringLiteral("現表示データをPOPUP"),
                     twips_rect(4380, 5670, 555, 345));
}

void mainform01::create_displays(QWidget* client) {
    txtBirthday = display_text(client, "txtBirthday", twips_rect(2055, 480, 2865, 285));

    // The pillar block runs right to left: year, month, day, hour.
    struct Column {
        const char* kan;
        const char* shi;
        const char* zokan;
        int left;
        int zokan_left;
    };
    constexpr Column kColumns[] = {
        {"yKan", "yShi", "lbl_yZokan", 4695, 4695},
        {"mKan", "mShi", "lbl_mZokan", 4260, 4275},
        {"dKan", "dShi", "lbl_dZokan", 3810, 3810},
        {"hKan", "hShi", "lbl_hZokan", 3345, 3345},
    };
    const QFont pillar_font = pgothic_font(12, true);
    const QFont small_font = pgothic_font(11.25);
    std::array<QLabel*, 4> kans{}, shis{}, zokans{};
    for (std::size_t i = 0; i < 4; ++i) {
        const Column& column = kColumns[i];
        kans[i] =
            label(client, column.kan, kPlaceholder, twips_rect(column.left, 1725, 255, 255), pillar_font);
        shis[i] =
            label(client, column.shi, kPlaceholder, twips_rect(column.left, 2130, 255, 255), pillar_font);
        zokans[i] = label(client, column.zokan, kPlaceholder, twips_rect(column.zokan_left, 2430, 255, 225),
                          small_font);
    }
    yKan = kans[0];
    mKan = kans[1];
    dKan = kans[2];
    hKan = kans[3];
    lbl_yZokan = zokans[0];
    lbl_mZokan = zokans[1];

    const QFont relation_font = gothic_font(9.75);
    lbl_ySeikoku =
        label(client, "lbl_ySeikoku", kPlaceholder, twips_rect(4695, 1470, 225, 225), relation_font);
    lbl_mSeikoku =
        label(client, "lbl_mSeikoku", kPlaceholder, twips_rect(4260, 1470, 225, 225), relation_font);
    lbl_hSeikoku =
        label(client, "lbl_hSeikoku", kPlaceholder, twips_rect(3360, 1470, 225, 225), relation_font);
    lbl_yzSeikoku =
        label(client, "lbl_yzSeikoku", kPlaceholder, twips_rect(4695, 2685, 225, 225), relation_font);
    lbl_dzSeikoku =
        label(client, "lbl_dzSeikoku", kPlaceholder, twips_rect(3825, 2685, 225, 225), relation_font);
    lbl_hzSeikoku =
        label(client, "lbl_hzSeikoku", kPlaceholder, twips_rect(3345, 2685, 225, 225), relation_font);
    seikoku_ = {lbl_ySeikoku, lbl_mSeikoku, lbl_hSeikoku, lbl_yzSeikoku, lbl_dzSeikoku, lbl_hzSeikoku};
    for (QLabel* relation : seikoku_) relation->hide();

    lblOu = label(client, "lblOu", kPlaceholder, twips_rect(4290, 2685, 255, 240), small_font);

    // Luck pillars: column 0 (the month pillar) rightmost; the last column sits at the margin.
    const QFont age_font = gothic_font(9.75);
    const QFont luck_font = pgothic_font(12);
    for (std::size_t i = 0; i < sai1.size(); ++i) {
        // 3975 for index 0 down to 135 for index 9.
        const int left = 3975 - static_cast<int>(std::lround(static_cast<double>(i) * 3840.0 / 9));
        sai1[i] = label(client, QStringLiteral("sai1_%1").arg(i), kPlaceholder,
                        twips_rect(left, 3165, 375, 225), age_font);
    }
    for (std::size_t i = 0; i < kLuckPillarCount; ++i) {
        const int step_left = 4395 - kLuckPitch * static_cast<int>(i);
        const bool last = i + 1 == kLuckPillarCount;
        sai2[i] = label(client, QStringLiteral("sai2_%1").arg(i), kPlaceholder,
                        twips_rect(last ? 120 : step_left - 60, 3705, 375, 225), age_font);
        const int luck_left = last ? 165 : step_left;
        dun_kan[i] = label(client, QStringLiteral("dun_kan_%1").arg(i), kPlaceholder,
                           twips_rect(luck_left, 4080, 255, 270), luck_font);
        dun_shi[i] = label(client, QStringLiteral("dun_shi_%1").arg(i), kPlaceholder,
                           twips_rect(luck_left, 4350, 255, 270), luck_font);
    }

    // Decoration between the two age rows.
    struct Decoration {
        const char* name;
        int left;
    };
    constexpr Decoration kPictures[] = {
        {"Picture10", 4395}, {"Picture1", 3960}, {"Picture2", 3540}, {"Picture3", 3120},
        {"Picture4", 2700},  {"Picture5", 2265}, {"Picture6", 1845}, {"Picture7", 1425},
        {"Picture8", 1005},  {"Picture9", 600},  {"Picture11", 150},
    };
    const QPixmap wave = data_picture("wave.png");
    for (const Decoration& decoration : kPictures) {
        auto* picture = new QLabel(client);
        picture->setObjectName(decoration.name);
        picture->setGeometry(twips_rect(decoration.left, 3420, 240, 240));
        picture->setPixmap(wave);
        picture->setScaledContents(true);
    }

    auto* line = new QFrame(client);
    line->setObjectName("Line1");
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(twips_rect(120, 1290, 4860, 30));

    QLineEdit* txtAge = display_text(client, "txtAge", twips_rect(945, 4800, 330, 195), Qt::AlignHCenter);
    QLineEdit* txtweek = display_text(client, "txtweek", twips_rect(2490, 4800, 630, 180));
    QLineEdit* txtShin = display_text(client, "txtShin", twips_rect(1185, 5130, 2730, 195));
    QLineEdit* txtKinjisa = display_text(client, "txtKinjisa", twips_rect(1020, 5460, 1305, 195));
    QLineEdit* txtKoutai = display_text(client, "txtKoutai", twips_rect(1230, 5805, 1785, 195));
    QLineEdit* txtKoutaiYM = display_text(client, "txtKoutaiYM", twips_rect(1230, 6135, 900, 195));
    QLineEdit* txtKoukei = display_text(client, "txtKoukei", twips_rect(3210, 6135, 1800, 195));

    text_fields_ = {
        {txtBirthday, &ChartTexts::txtBirthday},
        {txtAge, &ChartTexts::txtAge},
        {txtweek, &ChartTexts::txtweek},
        {txtShin, &ChartTexts::txtShin},
        {txtKinjisa, &ChartTexts::txtKinjisa},
        {txtKoutai, &ChartTexts::txtKoutai},
        {txtKoutaiYM, &ChartTexts::txtKoutaiYM},
        {txtKoukei, &ChartTexts::txtKoukei},
        {yKan, &ChartTexts::yKan},
        {shis[0], &ChartTexts::yShi},
        {mKan, &ChartTexts::mKan},
        {shis[1], &ChartTexts::mShi},
        {dKan, &ChartTexts::dKan},
        {shis[2], &ChartTexts::dShi},
        {hKan, &ChartTexts::hKan},
        {shis[3], &ChartTexts::hShi},
        {lbl_yZokan, &ChartTexts::lbl_yZokan},
        {lbl_mZokan, &ChartTexts::lbl_mZokan},
        {zokans[2], &ChartTexts::lbl_dZokan},
        {zokans[3], &ChartTexts::lbl_hZokan},
        {lblOu, &ChartTexts::lblOu},
    };
}

void mainform01::create_captions(QWidget* client) {
    const QFont unit_font = gothic_font(11.25);
    const QFont text_font = gothic_font(9.75);
    caption(client, "Label1", QStringLiteral("月"), 1665, 120, unit_font);
    caption(client, "Label4", QStringLiteral("日"), 2655, 120, unit_font);
    caption(client, "Label5", QStringLiteral("時"), 3645, 120, unit_font);
    caption(client, "Label6", QStringLiteral("分"), 4620, 120, unit_font);
    caption(client, "Label7", QStringLiteral("誕生日："), 1245, 510, text_font);
    caption(client, "Label12", QStringLiteral("時差："), 120, 930, text_font);
    caption(client, "lblhun", QStringLiteral("分"), 1485, 945, unit_font);
    caption(client, "lblbyo", QStringLiteral("秒"), 2295, 945, unit_font);
    caption(client, "Label16", QStringLiteral("満年齢："), 165, 4800, text_font);
    caption(client, "Label15", QStringLiteral("歳"), 1320, 4800, text_font);
    caption(client, "Label17", QStringLiteral("曜日："), 1845, 4800, text_font);
    caption(client, "Label14", QStringLiteral("真太陽時："), 165, 5130, text_font);
    caption(client, "Label13", QStringLiteral("均時差："), 165, 5460, text_font);
    caption(client, "Label9", QStringLiteral("大運交替："), 165, 5805, text_font);
    caption(client, "Label10", QStringLiteral("交替年月："), 165, 6135, text_font);
    caption(client, "Label8", QStringLiteral("視黄経："), 2340, 6135, text_font);
    label(client, "Label11", QStringLiteral("旺"), twips_rect(4305, 2880, 210, 240), unit_font);
    label(client, "Label2", QStringLiteral("大"), twips_rect(4695, 3045, 255, 255), gothic_font(11.25, true));
    label(client, "Label3", QStringLiteral("運"), twips_rect(4695, 3315, 255, 255), gothic_font(11.25, true));
}

void mainform01::create_menus() {
    auto add_item = [this](QMenu* menu, const char* name, const QString& text, const QKeySequence& keys) {
        QAction* action = menu->addAction(text);
        action->setObjectName(name);
        action->setShortcut(keys);
        return action;
    };
    auto add_separator = [](QMenu* menu, const char* name) { menu->addSeparator()->setObjectName(name); };

    QMenu* menufile = menuBar()->addMenu(QStringLiteral("ファイル（Ｆ）"));
    menufile->setObjectName("menufile");
    endzarvel = add_item(menufile, "endzarvel", QStringLiteral("Vantora終了"), QKeySequence("Ctrl+E"));

    QMenu* menutool = menuBar()->addMenu(QStringLiteral("ツール（Ｔ）"));
    menutool->setObjectName("menutool");
    mnuMap = add_item(menutool, "mnuMap", QStringLiteral("日本地図表示（M)"), QKeySequence("Ctrl+M"));
    add_separator(menutool, "menuLine02");
    menupop = add_item(menutool, "menupop", QStringLiteral("ポップアップ（Ｐ）"), QKeySequence("Ctrl+P"));
    add_separator(menutool, "mnuline03");
    menujisa01 = add_item(menutool, "menujisa01", QStringLiteral("時差ゼロ"), QKeySequence("Ctrl+J"));

    QMenu* menuhelp = menuBar()->addMenu(QStringLiteral("ヘルプ（Ｈ）"));
    menuhelp->setObjectName("menuhelp");
    menuversion =
        add_item(menuhelp, "menuversion", QStringLiteral("バージョン情報（Ｖ）"), QKeySequence("Ctrl+V"));
}

void mainform01::create_connections() {
    // The lists react to the user's choice only, not to entries set by the program.
    connect(yearInput, &QPushButton::clicked, this, &mainform01::yearInput_Click);
    connect(mSelect, &QComboBox::activated, this, &mainform01::mSelect_Click);
    connect(dSelect, &QComboBox::activated, this, &mainform01::dSelect_Click);
    connect(hSelect, &QComboBox::activated, this, &mainform01::hSelect_Click);
    connect(mtSelect, &QComboBox::activated, this, &mainform01::mtSelect_Click);
    connect(optM, &QRadioButton::clicked, this, &mainform01::optM_Click);
    connect(optW, &QRadioButton::clicked, this, &mainform01::optW_Click);
    connect(udJisahun, &UpDown::changed, this, &mainform01::udJisahun_Change);
    connect(udJisabyo, &UpDown::changed, this, &mainform01::udJisabyo_Change);
    connect(btnmap, &QPushButton::clicked, this, &mainform01::btnmap_Click);
    connect(fInput, &QPushButton::clicked, this, &mainform01::fInput_Click);
    connect(endbtn, &QPushButton::clicked, this, &mainform01::endbtn_Click);
    connect(btn_000, &QPushButton::clicked, this, &mainform01::btn_000_Click);
    connect(btn_111, &QPushButton::clicked, this, &mainform01::btn_111_Click);
    connect(btnexport, &QPushButton::clicked, this, &mainform01::btnexport_Click);
    connect(btnpop, &QPushButton::clicked, this, &mainform01::btnpop_Click);
    connect(endzarvel, &QAction::triggered, this, &mainform01::endzarvel_Click);
    connect(mnuMap, &QAction::triggered, this, &mainform01::mnuMap_Click);
    connect(menupop, &QAction::triggered, this, &mainform01::menupop_Click);
    connect(menujisa01, &QAction::triggered, this, &mainform01::menujisa01_Click);
    connect(menuversion, &QAction::triggered, this, &mainform01::menuversion_Click);
}

// ---------------------------------------------------------------------------------------------
// Start-up

std::unique_ptr<mainform01> mainform01::create(QWidget* startup_window, TableLoader loader) {
    auto window = std::make_unique<mainform01>();
    if (!window->Form_Load(startup_window, std::move(loader))) return nullptr;
    return window;
}

bool mainform01::Form_Load(QWidget* startup_window, TableLoader loader) {
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

    btnpop->setEnabled(false);
    btnexport->setEnabled(false);
    menupop->setEnabled(false);
    btn_000->setEnabled(false);
    yearInput->setFocus();
    return true;
}

// ---------------------------------------------------------------------------------------------
// The birth fields

void mainform01::birthday_data() {
    const BirthInputs inputs{birth_year_,
                             birth_month_,
                             birth_day_,
                             birth_hour_,
                             birth_minute_,
                             hSelect->currentText().toStdString(),
                             mtSelect->currentText().toStdString()};
    txtBirthday->setText(QString::fromStdString(vantora::birthday_data(inputs)));
    txtBirthday->setCursorPosition(0);
}

void mainform01::enable_month_list() {
    mSelect->setEnabled(true);
}

void mainform01::set_month_days_of_birth_year() {
    if (birth_year_) vantora::set_month_days(month_days_, *birth_year_);
}

void mainform01::clamp_shown_day() {
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

void mainform01::rebuild_day_list(int days) {
    const QSignalBlocker blocker(dSelect);
    const int shown = dSelect->currentIndex();
    const int keep = std::max(days, shown + 1);
    while (dSelect->count() > keep) dSelect->removeItem(dSelect->count() - 1);
    for (int day = dSelect->count() + 1; day <= days; ++day) dSelect->addItem(QString::number(day));
    dSelect->setCurrentIndex(shown);
}

void mainform01::select_last_day(int days) {
    const QSignalBlocker blocker(dSelect);
    dSelect->setCurrentIndex(days - 1);
    while (dSelect->count() > days) dSelect->removeItem(dSelect->count() - 1);
}

void mainform01::yearInput_Click() {
    if (!year_dialog_) {
        year_dialog_ = new yInput(this);
        year_dialog_->Form_Load();
    }
    year_dialog_->show();
    year_dialog_->raise();
    year_dialog_->activateWindow();
    setEnabled(false);
    btn_000->setEnabled(false);
}

void mainform01::mSelect_Click() {
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

void mainform01::dSelect_Click() {
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

void mainform01::hSelect_Click() {
    mtSelect->setEnabled(true);
    btn_000->setEnabled(false);
    birth_hour_ = value_of(hSelect);
    birthday_data();
    if (hSelect->currentText() == kUnknown) {
        fInput->setEnabled(true);
        mtSelect->setEnabled(false);
    }
}

void mainform01::mtSelect_Click() {
    birth_minute_ = value_of(mtSelect);
    fInput->setEnabled(true);
    btn_000->setEnabled(false);
    birthday_data();
}

void mainform01::optM_Click() {
    btn_000->setEnabled(false);
}

void mainform01::optW_Click() {
    btn_000->setEnabled(false);
}

// ---------------------------------------------------------------------------------------------
// Time difference

void mainform01::udJisahun_Change() {
    btn_000->setEnabled(false);
}

void mainform01::udJisabyo_Change() {
    btn_000->setEnabled(false);
}

void mainform01::menujisa01_Click() {
    txtJisahun->setText(QStringLiteral("0"));
    txtJisabyo->setText(QStringLiteral("0"));
}

// ---------------------------------------------------------------------------------------------
// The chart

BirthRecord mainform01::birth_record() const {
    BirthRecord record;
    record.birth_year = birth_year_.value_or(0);
    record.birth_month = birth_month_.value_or(0);
    record.birth_day = birth_day_.value_or(0);
    record.birth_hour = birth_hour_.value_or(0);
    record.birth_minute = birth_minute_.value_or(0);
    record.hour_unknown = hSelect->currentText() == kUnknown;
    record.minute_unknown = mtSelect->currentText() == kUnknown;
    record.sex = optM->isChecked() ? Sex::male : Sex::female;
    record.offset = read_time_difference(txtJisahun->text().toStdString(), txtJisabyo->text().toStdString());
    return record;
}

void mainform01::fInput_Click() {
    btnpop->setEnabled(true);
    btnexport->setEnabled(true);
    menupop->setEnabled(true);
    btn_000->setEnabled(true);
    if (!tables_) return;
    const Chart chart = compute_chart(birth_record(), local_now(), *tables_);
    show_chart(chart);
    chart_ = chart;
}

void mainform01::show_chart(const Chart& chart) {
    for (const auto& [widget, field] : text_fields_) {
        // The birth-date text follows the inputs, not the computation.
        if (widget == txtBirthday) continue;
        set_shown_text(widget, QString::fromStdString(chart.texts.*field));
    }
    for (std::size_t i = 0; i < kLuckPillarCount; ++i) {
        const bool current = chart.current_luck == static_cast<int>(i);
        for (auto [labels, texts] :
             {std::pair{&dun_kan, &chart.texts.dun_kan}, std::pair{&dun_shi, &chart.texts.dun_shi}}) {
            QLabel* pillar = (*labels)[i];
            pillar->setText(QString::fromStdString((*texts)[i]));
            QFont font = pillar->font();
            font.setBold(current);
            pillar->setFont(font);
        }
        sai2[i]->setText(QString::fromStdString(chart.texts.sai2[i]));
    }
    for (std::size_t i = 0; i < sai1.size(); ++i)
        sai1[i]->setText(QString::fromStdString(chart.texts.sai1[i]));
}

ChartTexts mainform01::shown_texts() const {
    ChartTexts texts;
    for (const auto& [widget, field] : text_fields_) texts.*field = shown_text(widget).toStdString();
    for (std::size_t i = 0; i < kLuckPillarCount; ++i) {
        texts.dun_kan[i] = dun_kan[i]->text().toStdString();
        texts.dun_shi[i] = dun_shi[i]->text().toStdString();
        texts.sai2[i] = sai2[i]->text().toStdString();
    }
    for (std::size_t i = 0; i < sai1.size(); ++i) texts.sai1[i] = sai1[i]->text().toStdString();
    return texts;
}

bool mainform01::luck_bold(int i) const {
    if (i < 0 || i >= static_cast<int>(kLuckPillarCount)) return false;
    return dun_kan[static_cast<std::size_t>(i)]->font().bold();
}

// ---------------------------------------------------------------------------------------------
// Reversed view

void mainform01::set_reversal_locked(bool locked) {
    for (QWidget* control :
         std::initializer_list<QWidget*>{yearInput, mSelect, dSelect, hSelect, mtSelect, optW, optM,
                                         udJisahun, udJisabyo, btnmap, fInput, btnexport, btnpop})
        control->setEnabled(!locked);
    for (QAction* item : {mnuMap, menupop, menujisa01}) item->setEnabled(!locked);
}

void mainform01::btn_000_Click() {
    if (!chart_) return;
    btn_111->show();
    btn_000->hide();
    set_reversal_locked(true);
    for (QLabel* relation : seikoku_) relation->show();
    saved_season_text_ = lblOu->text();

    ReversalInput input;
    input.year_stem = chart_->year_stem;
    input.month_stem = chart_->month_stem;
    input.day_stem = chart_->day_stem;
    input.hour_stem = chart_->hour_stem;
    input.year_hidden = chart_->year_hidden;
    input.month_hidden = chart_->month_hidden;
    input.day_hidden = chart_->day_hidden;
    input.hour_hidden = chart_->hour_hidden;
    input.hour_known = hKan->text() != kPlaceholder;
    const ReversedView view = reverse_chart(input);

    lbl_ySeikoku->setText(QString::fromStdString(view.lbl_ySeikoku));
    lbl_yzSeikoku->setText(QString::fromStdString(view.lbl_yzSeikoku));
    lbl_mSeikoku->setText(QString::fromStdString(view.lbl_mSeikoku));
    lblOu->setText(QString::fromStdString(view.lblOu));
    lbl_dzSeikoku->setText(QString::fromStdString(view.lbl_dzSeikoku));
    lbl_hSeikoku->setText(QString::fromStdString(view.lbl_hSeikoku));
    lbl_hzSeikoku->setText(QString::fromStdString(view.lbl_hzSeikoku));
    lbl_yZokan->setText(QString::fromStdString(view.lbl_yZokan));
    lbl_mZokan->setText(QString::fromStdString(view.lbl_mZokan));
    endbtn->setFocus();
}

void mainform01::btn_111_Click() {
    btn_111->hide();
    btn_000->show();
    set_reversal_locked(false);
    for (QLabel* relation : seikoku_) relation->hide();
    if (chart_) {
        lbl_yZokan->setText(qtext(stem_name.at(static_cast<std::size_t>(chart_->year_hidden))));
        lbl_mZokan->setText(qtext(stem_name.at(static_cast<std::size_t>(chart_->month_hidden))));
    }
    lblOu->setText(saved_season_text_);
}

// ---------------------------------------------------------------------------------------------
// The other windows

void mainform01::btnmap_Click() {
    if (!map_window_) {
        map_window_ = new frmjpmap(nullptr);
        map_window_->setAttribute(Qt::WA_DeleteOnClose);
        connect(map_window_, &frmjpmap::decided, this,
                [this](const QString& minutes, const QString& seconds) {
                    txtJisahun->setText(minutes);
                    txtJisabyo->setText(seconds);
                });
        connect(map_window_, &frmjpmap::closed_through_frame, this, [this] {
            if (ending_) return;
            show();
            raise();
            activateWindow();
        });
    }
    map_window_->show();
    map_window_->raise();
    btn_000->setEnabled(false);
}

void mainform01::mnuMap_Click() {
    btnmap_Click();
}

void mainform01::btnpop_Click() {
    if (!popup_window_) {
        popup_window_ = new frmpop01(nullptr);
        popup_window_->setAttribute(Qt::WA_DeleteOnClose);
    }
    popup_window_->show();
    popup_window_->raise();
    PopupContent content;
    content.texts = shown_texts();
    for (std::size_t i = 0; i < kLuckPillarCount; ++i) {
        content.dun_kan_bold[i] = dun_kan[i]->font().bold();
        content.dun_shi_bold[i] = dun_shi[i]->font().bold();
    }
    content.male = optM->isChecked();
    popup_window_->copy_chart(content);
}

void mainform01::menupop_Click() {
    btnpop_Click();
}

void mainform01::btnexport_Click() {
    if (!export_window_) {
        export_window_ = new frmexport(nullptr);
        export_window_->setAttribute(Qt::WA_DeleteOnClose);
    }
    export_window_->show();
    export_window_->raise();
    const Sex sex = optM->isChecked() ? Sex::male : Sex::female;
    export_window_->set_export_text(
        QString::fromStdString(export_text(shown_texts(), sex, general_date_text(local_now()))));
}

void mainform01::menuversion_Click() {
    show_about_message(this);
}

// ---------------------------------------------------------------------------------------------
// Exit

void mainform01::close_secondary_windows() {
    ending_ = true;
    if (year_dialog_) year_dialog_->close();
    if (map_window_) map_window_->close();
    if (popup_window_) popup_window_->close();
    if (export_window_) export_window_->close();
}

void mainform01::endbtn_Click() {
    close_secondary_windows();
    close();
    QApplication::exit(0);
}

void mainform01::endzarvel_Click() {
    endbtn_Click();
}

void mainform01::closeEvent(QCloseEvent* event) {
    close_secondary_windows();
    event->accept();
}

} // namespace vantora::ui
