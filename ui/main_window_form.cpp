// Building the main window: its controls at their places in twips, its menus and connections.
#include "ui/main_window.hpp"

#include "chart/time_difference.hpp"
#include "ui/export_window.hpp"
#include "ui/form_kit.hpp"
#include "ui/map_window.hpp"
#include "ui/menu_keys.hpp"
#include "ui/popup_window.hpp"
#include "ui/ui_common.hpp"
#include "ui/up_down.hpp"
#include "ui/year_dialog.hpp"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

#include <cmath>

namespace vantora::ui {
namespace {

/// Client area below the menu bar, twips.
constexpr int kClientWidth = 5100;
constexpr int kClientHeight = 6450;

const QString kPlaceholder = QStringLiteral("□");
const QString kUnknown = QStringLiteral("?");

/// Horizontal pitch of the luck-pillar columns, twips; column 0 is the rightmost.
constexpr int kLuckPitch = 420;

} // namespace

MainWindow::MainWindow(QWidget* parent)
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
    add_menu_keys(this);
    create_connections();

    setFixedSize(client->width(), client->height() + menuBar()->sizeHint().height());
}

void MainWindow::create_inputs(QWidget* client) {
    // Created in tab order: the year button first.
    yearInput = make_command(client, "yearInput", QStringLiteral("年入力"), QStringLiteral("生年を入力"),
                             twips_rect(165, 90, 750, 315));

    mSelect =
        make_selection_list(client, "mSelect", QStringLiteral("生月を入力"), twips_rect(990, 75, 615, 315));
    for (int month = 1; month <= 12; ++month) mSelect->addItem(QString::number(month));
    dSelect =
        make_selection_list(client, "dSelect", QStringLiteral("生日を入力"), twips_rect(1980, 75, 615, 300));
    hSelect =
        make_selection_list(client, "hSelect", QStringLiteral("生時を入力"), twips_rect(2970, 75, 615, 300));
    hSelect->addItem(kUnknown);
    for (int hour = 0; hour <= 23; ++hour) hSelect->addItem(QString::number(hour));
    mtSelect =
        make_selection_list(client, "mtSelect", QStringLiteral("分数を入力"), twips_rect(3975, 75, 615, 300));
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
    udJisahun = new UpDown(txtJisahun, kSpinOffsetMinutesMin, kSpinOffsetMinutesMax, client);
    udJisahun->setObjectName("udJisahun");
    udJisahun->setToolTip(QStringLiteral("時差の分数入力"));
    udJisahun->setGeometry(twips_rect(1170, 870, 255, 330));

    txtJisabyo = new QLineEdit(QStringLiteral("0"), client);
    txtJisabyo->setObjectName("txtJisabyo");
    // Wide enough for the five characters it takes; its arrows and "秒" move right to make room.
    txtJisabyo->setGeometry(twips_rect(1695, 900, 615, 285));
    txtJisabyo->setMaxLength(static_cast<int>(kOffsetSecondsMaxLength));
    txtJisabyo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txtJisabyo->setTextMargins(0, 0, 0, 0);
    udJisabyo = new UpDown(txtJisabyo, kSpinOffsetSecondsMin, kSpinOffsetSecondsMax, client);
    udJisabyo->setObjectName("udJisabyo");
    udJisabyo->setToolTip(QStringLiteral("時差の秒数入力"));
    udJisabyo->setGeometry(twips_rect(2280, 870, 225, 330));

    btnmap = make_command(client, "btnmap", QStringLiteral("地図"), QStringLiteral("時差を地図で決定"),
                          twips_rect(2745, 855, 645, 375));
    fInput = make_command(client, "fInput", QStringLiteral("八字表示"), QStringLiteral("Vantora"),
                          twips_rect(3375, 855, 930, 375));
    endbtn = make_command(client, "endbtn", QStringLiteral("終了"), QStringLiteral("おしまい"),
                          twips_rect(4305, 840, 645, 375));

    btn_000 = make_picture_button(client, "btn_000", "btn_reverse.png", QStringLiteral("旺の逆転"),
                                  twips_rect(4395, 4755, 540, 555));
    btn_111 = make_picture_button(client, "btn_111", "btn_restore.png", QStringLiteral("暦に戻す"),
                                  twips_rect(4380, 4755, 540, 555));
    btn_111->hide();
    btnexport = make_command(client, "btnexport", QStringLiteral("EXP"),
                             QStringLiteral("表示データをエクスポート"), twips_rect(4380, 5325, 555, 345));
    btnpop = make_command(client, "btnpop", QStringLiteral("POP"), QStringLiteral("現表示データをPOPUP"),
                          twips_rect(4380, 5670, 555, 345));
}

void MainWindow::create_displays(QWidget* client) {
    txtBirthday = make_display_field(client, "txtBirthday", twips_rect(2055, 480, 2865, 285));
    // In the free space left of the pillars, wrapped over up to four lines.
    lblNotice = make_label(client, "lblNotice", {}, twips_rect(120, 1725, 3150, 1200), gothic_font(9),
                           Qt::AlignLeft | Qt::AlignTop);
    lblNotice->setWordWrap(true);
    lblNotice->hide();

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
    for (const Column& column : kColumns) {
        make_label(client, column.kan, kPlaceholder, twips_rect(column.left, 1725, 255, 255), pillar_font);
        make_label(client, column.shi, kPlaceholder, twips_rect(column.left, 2130, 255, 255), pillar_font);
        make_label(client, column.zokan, kPlaceholder, twips_rect(column.zokan_left, 2430, 255, 225),
                   small_font);
    }

    struct Relation {
        const char* name;
        int left, top;
    };
    constexpr Relation kRelations[] = {
        {"lbl_ySeikoku", 4695, 1470},  {"lbl_mSeikoku", 4260, 1470},  {"lbl_hSeikoku", 3360, 1470},
        {"lbl_yzSeikoku", 4695, 2685}, {"lbl_dzSeikoku", 3825, 2685}, {"lbl_hzSeikoku", 3345, 2685},
    };
    const QFont relation_font = gothic_font(9.75);
    for (std::size_t i = 0; i < seikoku_.size(); ++i) {
        const Relation& relation = kRelations[i];
        seikoku_[i] = make_label(client, relation.name, kPlaceholder,
                                 twips_rect(relation.left, relation.top, 225, 225), relation_font);
        seikoku_[i]->hide();
    }

    // The element sits at the top of its box and "旺" two pixels down in its own, so that the two
    // characters keep apart where the boxes overlap.
    make_label(client, "lblOu", kPlaceholder, twips_rect(4290, 2685, 255, 240), small_font,
               Qt::AlignHCenter | Qt::AlignTop);

    // Luck pillars: column 0 (the month pillar) rightmost; the last column sits at the margin.
    const QFont age_font = gothic_font(9.75);
    const QFont luck_font = pgothic_font(12);
    for (int i = 0; i < 10; ++i) {
        // 3975 for index 0 down to 135 for index 9.
        const int left = 3975 - static_cast<int>(std::lround(i * 3840.0 / 9));
        make_label(client, QStringLiteral("sai1_%1").arg(i), kPlaceholder, twips_rect(left, 3165, 375, 225),
                   age_font);
    }
    for (int i = 0; i < static_cast<int>(kLuckPillarCount); ++i) {
        const int step_left = 4395 - kLuckPitch * i;
        const bool last = i + 1 == static_cast<int>(kLuckPillarCount);
        make_label(client, QStringLiteral("sai2_%1").arg(i), kPlaceholder,
                   twips_rect(last ? 120 : step_left, 3705, 375, 225), age_font);
        const int luck_left = last ? 165 : step_left;
        make_label(client, QStringLiteral("dun_kan_%1").arg(i), kPlaceholder,
                   twips_rect(luck_left, 4080, 255, 270), luck_font);
        make_label(client, QStringLiteral("dun_shi_%1").arg(i), kPlaceholder,
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

    make_display_field(client, "txtAge", twips_rect(945, 4800, 375, 195), Qt::AlignHCenter);
    make_display_field(client, "txtweek", twips_rect(2490, 4800, 675, 180));
    make_display_field(client, "txtShin", twips_rect(1185, 5130, 2730, 195));
    make_display_field(client, "txtKinjisa", twips_rect(1020, 5460, 1305, 195));
    make_display_field(client, "txtKoutai", twips_rect(1230, 5805, 1785, 195));
    make_display_field(client, "txtKoutaiYM", twips_rect(1230, 6135, 900, 195));
    make_display_field(client, "txtKoukei", twips_rect(3210, 6135, 1800, 195));

    // Every control the chart paints, found once by the names the chart's table gives.
    const auto find = [this, client](std::string_view name) {
        QWidget* control = client->findChild<QWidget*>(qtext(name));
        Q_ASSERT(control);
        displays_.insert(control->objectName(), control);
    };
    const ChartTexts names;
    for_each_control(
        names, [&](std::string_view name, const std::string&) { find(name); },
        [&](std::string_view row, std::span<const std::string> texts) {
            for (std::size_t i = 0; i < texts.size(); ++i) find(std::string(row) + "_" + std::to_string(i));
        });
    for (QLabel* relation : seikoku_) displays_.insert(relation->objectName(), relation);
    for (QWidget* display : displays_) display->setFocusPolicy(Qt::NoFocus);
}

void MainWindow::create_captions(QWidget* client) {
    const QFont unit_font = gothic_font(11.25);
    const QFont text_font = gothic_font(9.75);
    make_caption(client, "Label1", QStringLiteral("月"), 1665, 120, unit_font);
    make_caption(client, "Label4", QStringLiteral("日"), 2655, 120, unit_font);
    make_caption(client, "Label5", QStringLiteral("時"), 3645, 120, unit_font);
    make_caption(client, "Label6", QStringLiteral("分"), 4620, 120, unit_font);
    make_caption(client, "Label7", QStringLiteral("誕生日："), 1245, 510, text_font);
    make_caption(client, "Label12", QStringLiteral("時差："), 120, 930, text_font);
    make_caption(client, "lblhun", QStringLiteral("分"), 1485, 945, unit_font);
    make_caption(client, "lblbyo", QStringLiteral("秒"), 2520, 945, unit_font);
    make_caption(client, "Label16", QStringLiteral("満年齢："), 165, 4800, text_font);
    make_caption(client, "Label15", QStringLiteral("歳"), 1320, 4800, text_font);
    make_caption(client, "Label17", QStringLiteral("曜日："), 1845, 4800, text_font);
    make_caption(client, "Label14", QStringLiteral("真太陽時："), 165, 5130, text_font);
    make_caption(client, "Label13", QStringLiteral("均時差："), 165, 5460, text_font);
    make_caption(client, "Label9", QStringLiteral("大運交替："), 165, 5805, text_font);
    make_caption(client, "Label10", QStringLiteral("交替年月："), 165, 6135, text_font);
    make_caption(client, "Label8", QStringLiteral("視黄経："), 2340, 6135, text_font);
    QLabel* season_caption =
        make_label(client, "Label11", QStringLiteral("旺"), twips_rect(4305, 2880, 210, 240), unit_font,
                   Qt::AlignHCenter | Qt::AlignTop);
    season_caption->setContentsMargins(0, 2, 0, 0);
    make_label(client, "Label2", QStringLiteral("大"), twips_rect(4695, 3045, 255, 255),
               gothic_font(11.25, true));
    make_label(client, "Label3", QStringLiteral("運"), twips_rect(4695, 3315, 255, 255),
               gothic_font(11.25, true));
}

void MainWindow::create_menus() {
    auto add_item = [this](QMenu* menu, const char* name, const QString& text, const QKeySequence& keys) {
        QAction* action = menu->addAction(text);
        action->setObjectName(name);
        action->setShortcut(keys);
        return action;
    };
    auto add_separator = [](QMenu* menu, const char* name) { menu->addSeparator()->setObjectName(name); };

    QMenu* menufile = menuBar()->addMenu(QStringLiteral("ファイル（Ｆ）"));
    menufile->setObjectName("menufile");
    menubook = add_item(menufile, "menubook", QStringLiteral("名簿（Ｂ）…"), QKeySequence("Ctrl+B"));
    menubookin = add_item(menufile, "menubookin", QStringLiteral("名簿の読み込み（Ｉ）…"), QKeySequence());
    menubookout = add_item(menufile, "menubookout", QStringLiteral("名簿の書き出し（Ｏ）…"), QKeySequence());
    add_separator(menufile, "menuLineBook");
    menuprint = add_item(menufile, "menuprint", QStringLiteral("印刷（Ｒ）…"), QKeySequence("Ctrl+Shift+P"));
    menupdf = add_item(menufile, "menupdf", QStringLiteral("PDFに保存（Ｄ）…"), QKeySequence("Ctrl+Shift+S"));
    add_separator(menufile, "menuLinePrint");
    endzarvel = add_item(menufile, "endzarvel", QStringLiteral("Vantora終了"), QKeySequence("Ctrl+E"));

    QMenu* menutool = menuBar()->addMenu(QStringLiteral("ツール（Ｔ）"));
    menutool->setObjectName("menutool");
    mnuMap = add_item(menutool, "mnuMap", QStringLiteral("日本地図表示（M)"), QKeySequence("Ctrl+M"));
    add_separator(menutool, "menuLine02");
    menupop = add_item(menutool, "menupop", QStringLiteral("ポップアップ（Ｐ）"), QKeySequence("Ctrl+P"));
    menudetail = add_item(menutool, "menudetail", QStringLiteral("詳細（Ｄ）"), QKeySequence("Ctrl+D"));
    add_separator(menutool, "mnuline03");
    menujisa01 = add_item(menutool, "menujisa01", QStringLiteral("時差ゼロ"), QKeySequence("Ctrl+J"));
    add_separator(menutool, "mnuline04");
    menusettings = add_item(menutool, "menusettings", QStringLiteral("設定（Ｓ）…"), QKeySequence());

    QMenu* menuhelp = menuBar()->addMenu(QStringLiteral("ヘルプ（Ｈ）"));
    menuhelp->setObjectName("menuhelp");
    menuversion =
        add_item(menuhelp, "menuversion", QStringLiteral("バージョン情報（Ｖ）"), QKeySequence("Ctrl+V"));

    chart_actions_ = {menupop, menudetail, menuprint, menupdf};
    input_actions_ = {mnuMap, menujisa01};
}

void MainWindow::create_connections() {
    // The lists react to the user's choice only, not to entries set by the program.
    connect(yearInput, &QPushButton::clicked, this, &MainWindow::yearInput_Click);
    connect(mSelect, &QComboBox::activated, this, &MainWindow::mSelect_Click);
    connect(dSelect, &QComboBox::activated, this, &MainWindow::dSelect_Click);
    connect(hSelect, &QComboBox::activated, this, &MainWindow::hSelect_Click);
    connect(mtSelect, &QComboBox::activated, this, &MainWindow::mtSelect_Click);
    connect(optM, &QRadioButton::clicked, this, &MainWindow::optM_Click);
    connect(optW, &QRadioButton::clicked, this, &MainWindow::optW_Click);
    connect(udJisahun, &UpDown::changed, this, &MainWindow::udJisahun_Change);
    connect(udJisabyo, &UpDown::changed, this, &MainWindow::udJisabyo_Change);
    connect(btnmap, &QPushButton::clicked, this, &MainWindow::btnmap_Click);
    connect(fInput, &QPushButton::clicked, this, &MainWindow::fInput_Click);
    connect(endbtn, &QPushButton::clicked, this, &MainWindow::endbtn_Click);
    connect(btn_000, &QPushButton::clicked, this, &MainWindow::btn_000_Click);
    connect(btn_111, &QPushButton::clicked, this, &MainWindow::btn_111_Click);
    connect(btnexport, &QPushButton::clicked, this, &MainWindow::btnexport_Click);
    connect(btnpop, &QPushButton::clicked, this, &MainWindow::btnpop_Click);
    connect(endzarvel, &QAction::triggered, this, &MainWindow::endzarvel_Click);
    connect(mnuMap, &QAction::triggered, this, &MainWindow::mnuMap_Click);
    connect(menupop, &QAction::triggered, this, &MainWindow::menupop_Click);
    connect(menudetail, &QAction::triggered, this, &MainWindow::menudetail_Click);
    connect(menuprint, &QAction::triggered, this, &MainWindow::menuprint_Click);
    connect(menupdf, &QAction::triggered, this, &MainWindow::menupdf_Click);
    connect(menujisa01, &QAction::triggered, this, &MainWindow::menujisa01_Click);
    connect(menusettings, &QAction::triggered, this, &MainWindow::menusettings_Click);
    connect(menuversion, &QAction::triggered, this, &MainWindow::menuversion_Click);
    connect(menubook, &QAction::triggered, this, &MainWindow::menubook_Click);
    connect(menubookin, &QAction::triggered, this, &MainWindow::menubookin_Click);
    connect(menubookout, &QAction::triggered, this, &MainWindow::menubookout_Click);
}

} // namespace vantora::ui
