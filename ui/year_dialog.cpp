#include "ui/year_dialog.hpp"

#include "chart/birth_record.hpp"
#include "chart/era_year.hpp"
#include "chart/number_text.hpp"
#include "ui/form_kit.hpp"
#include "ui/ui_common.hpp"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>

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

/// The size of the era years' type against the year's.
constexpr double kEraScale = 0.75;

QFont era_font(QFont font) {
    font.setPointSizeF(font.pointSizeF() * kEraScale);
    return font;
}

/// Paints a year of the list with its era years (昭50, 昭64/平1) in small type under it.
class EraYearDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QSize year = QStyledItemDelegate::sizeHint(option, index);
        return {year.width(), year.height() + QFontMetrics(era_font(option.font)).height()};
    }
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem year = option;
        year.displayAlignment = Qt::AlignLeft | Qt::AlignTop;
        QStyledItemDelegate::paint(painter, year, index);
        const QString era = qtext(era_label(index.data().toInt()));
        if (era.isEmpty()) return;
        const QFont small = era_font(option.font);
        painter->save();
        painter->setFont(small);
        painter->setPen(option.palette.color(option.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                                   : QPalette::Text));
        const QRect below = option.rect.adjusted(0, option.fontMetrics.height(), 0, 0);
        painter->drawText(below, Qt::AlignLeft | Qt::AlignTop,
                          QFontMetrics(small).elidedText(era, Qt::ElideRight, below.width()));
        painter->restore();
    }
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

    // The box takes a typed year too: Return in it acts as "決定".
    lblSelect_y = new QLineEdit(this);
    lblSelect_y->setObjectName("lblSelect_y");
    lblSelect_y->setGeometry(twips_rect(120, 1000, 705, 270));
    lblSelect_y->setFont(pgothic_font(11.25));
    lblSelect_y->setAlignment(Qt::AlignCenter);
    lblSelect_y->setToolTip(QStringLiteral("西暦か和暦（昭和50、S50、平成元年など）"));
    connect(lblSelect_y, &QLineEdit::returnPressed, this, &YearDialog::btnSlok_Click);

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
    List1->setItemDelegate(new EraYearDelegate(List1));
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
    // Two lines a year: the year, and its era years in small type.
    List1->setGridSize(
        QSize((usable - kListColumns) / kListColumns,
              List1->fontMetrics().height() + QFontMetrics(era_font(List1->font())).height() + 2));
    for (int year = first_year; year < first_year + kYearsPerList; ++year) {
        List1->addItem(QString::number(year));
        List1->item(List1->count() - 1)
            ->setToolTip(qtext(era_label(year))); // in full where the list elides it
    }
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
    if (lblSelect_y->text().trimmed().isEmpty()) {
        emit finished();
        return;
    }
    const auto read = read_year_text(lblSelect_y->text().toStdString());
    const int* year = std::get_if<int>(&read);
    if (!year || *year < kFirstBirthYear || *year > kLastBirthYear) {
        const QString why = year ? QStringLiteral("%1年は%2〜%3年の範囲外です")
                                       .arg(*year)
                                       .arg(kFirstBirthYear)
                                       .arg(kLastBirthYear)
                                 : qtext(std::get<std::string>(read));
        QMessageBox box(QMessageBox::Warning, windowTitle(), why, QMessageBox::Ok, this);
        box.setObjectName("year_error");
        box.exec();
        return;
    }
    emit finished();
    hide();
    lblSelect_y->setText(QString::number(*year));
    accepted_text_ = lblSelect_y->text();
    emit accepted(*year);
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
