#include "ui/year_dialog.hpp"

#include "chart/number_text.hpp"
#include "ui/form_kit.hpp"
#include "ui/ui_common.hpp"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>

namespace vantora::ui {
namespace {

/// Client area of the dialog, twips.
constexpr int kClientWidth = 2100;
constexpr int kClientHeight = 6510;
constexpr int kYearsPerList = 100;
constexpr int kListColumns = 3;

struct CenturyButton {
    const char* name;
    int first_year;
    int left, top;
};
// Listed in tab order: the 1900s first.
constexpr CenturyButton kCenturyButtons[] = {
    {"y1900", 1900, 120, 630},  {"y2000", 2000, 1080, 630}, {"y1500", 1500, 120, 120},
    {"y1600", 1600, 1080, 120}, {"y1700", 1700, 120, 375},  {"y1800", 1800, 1080, 375},
};

} // namespace

YearDialog::YearDialog()
    : QWidget(nullptr) {
    setObjectName("yInput");
    setWindowTitle(QStringLiteral("年入力"));
    setFont(gothic_font(9.75));
    // A dialog of the main window with a fixed single border: no minimise or maximise.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(twips(kClientWidth), twips(kClientHeight));
    create_controls();
}

void YearDialog::create_controls() {
    for (const CenturyButton& century : kCenturyButtons) {
        QPushButton* button =
            make_command(this, century.name, QString::number(century.first_year) + QStringLiteral("年代"), {},
                         twips_rect(century.left, century.top, 885, 255));
        const int first_year = century.first_year;
        connect(button, &QPushButton::clicked, this, [this, first_year] { list_century(first_year); });
    }

    lblSelect_y = new QLabel(this);
    lblSelect_y->setObjectName("lblSelect_y");
    lblSelect_y->setGeometry(twips_rect(120, 1000, 705, 270));
    lblSelect_y->setFont(pgothic_font(11.25));
    lblSelect_y->setAlignment(Qt::AlignCenter);
    lblSelect_y->setFrameShape(QFrame::Box);
    lblSelect_y->setAutoFillBackground(true);
    QPalette white = lblSelect_y->palette();
    white.setColor(QPalette::Window, Qt::white);
    lblSelect_y->setPalette(white);

    lstSelyear = new QLabel(QStringLiteral("年"), this);
    lstSelyear->setObjectName("lstSelyear");
    lstSelyear->setGeometry(twips_rect(840, 1020, 225, 210));
    lstSelyear->setFont(pgothic_font(11.25));

    btnSlok = make_command(this, "btnSlok", QStringLiteral("決定"), {}, twips_rect(1080, 960, 885, 390));
    connect(btnSlok, &QPushButton::clicked, this, &YearDialog::btnSlok_Click);

    List1 = new QListWidget(this);
    List1->setObjectName("List1");
    List1->setGeometry(twips_rect(128, 1440, 1815, 4920));
    List1->setFlow(QListView::LeftToRight);
    List1->setWrapping(true);
    List1->setResizeMode(QListView::Adjust);
    List1->setUniformItemSizes(true);
    List1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    List1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(List1, &QListWidget::itemClicked, this, &YearDialog::List1_Click);
    List1->installEventFilter(this);
    close_on_escape(this, [this] { close(); });
    connect(List1, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item) List1_Click();
    });
}

void YearDialog::Form_Load(std::optional<double> accepted_year) {
    centre_on_screen(this);
    list_century(1900);
    set_accepted_year(accepted_year);
}

void YearDialog::set_accepted_year(std::optional<double> year) {
    accepted_text_ = year ? QString::fromStdString(general_text(*year)) : QString();
    lblSelect_y->setText(accepted_text_);
}

QString YearDialog::chosen_year_text() const {
    return lblSelect_y->text();
}

void YearDialog::list_century(int first_year) {
    List1->clear();
    const int usable =
        List1->width() - 2 * List1->frameWidth() - List1->verticalScrollBar()->sizeHint().width();
    List1->setGridSize(QSize((usable - kListColumns) / kListColumns, List1->fontMetrics().height() + 2));
    for (int year = first_year; year < first_year + kYearsPerList; ++year)
        List1->addItem(QString::number(year));
}

void YearDialog::accept_year(int year) {
    const int century = year / kYearsPerList * kYearsPerList;
    list_century(century);
    List1->setCurrentRow(year - century);
    List1_Click();
    btnSlok_Click();
}

void YearDialog::List1_Click() {
    if (const QListWidgetItem* item = List1->currentItem()) lblSelect_y->setText(item->text());
}

void YearDialog::btnSlok_Click() {
    emit finished();
    if (lblSelect_y->text().isEmpty()) return;
    hide();
    accepted_text_ = lblSelect_y->text();
    emit accepted(numeric_value(accepted_text_.toStdString()));
}

bool YearDialog::eventFilter(QObject* watched, QEvent* event) {
    // Return or Enter on the list accepts the year shown, like "決定".
    if (watched == List1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            btnSlok_Click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void YearDialog::closeEvent(QCloseEvent* event) {
    lblSelect_y->setText(accepted_text_);
    emit finished();
    event->accept();
}

} // namespace vantora::ui
