#include "ui/ui_common.hpp"

#include "core/program_folder.hpp"

#include <QApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImageReader>
#include <QMessageBox>
#include <QRawFont>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#ifndef VANTORA_VERSION_MAJOR
#error "VANTORA_VERSION_MAJOR, _MINOR and _PATCH come from the CMake project version"
#endif

namespace vantora::ui {

QString version_text() {
    return QStringLiteral("%1.%2.%3")
        .arg(VANTORA_VERSION_MAJOR)
        .arg(VANTORA_VERSION_MINOR)
        .arg(VANTORA_VERSION_PATCH);
}

void install_font_substitutes() {
    // IPA fonts (fonts-ipafont-gothic) first; other common Japanese Gothic faces after them.
    QFont::insertSubstitutions(kGothic, {"IPAGothic", "IPAゴシック", "Noto Sans Mono CJK JP", "VL Gothic"});
    QFont::insertSubstitutions(kPGothic, {"IPAPGothic", "IPAPゴシック", "Noto Sans CJK JP", "VL PGothic"});
}

namespace {

/// Characters a font must have to show the windows: the stems, the branches, the placeholder,
/// kana and kanji of the captions.
constexpr std::u32string_view kProgramCharacters = U"甲乙丙丁戊己庚辛壬癸子丑寅卯辰巳午未申酉戌亥□八字表示大"
                                                   U"運交替年月日時分秒性別男女旺逆転暦戻終了のをかすに";

bool covers_program_characters(const QString& family) {
    if (!QFontDatabase::hasFamily(family)) return false;
    const QRawFont font = QRawFont::fromFont(QFont(family));
    return std::all_of(kProgramCharacters.begin(), kProgramCharacters.end(),
                       [&font](char32_t c) { return font.supportsCharacter(c); });
}

void warn_at_startup(const QString& message) {
    std::fprintf(stderr, "vantora: %s\n", qUtf8Printable(QString(message).replace('\n', ' ')));
    std::fflush(stderr);
    // The title reads in Latin letters too: it may be the missing Japanese font that is warned of.
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Vantora: warning / 起動時の警告"), message,
                    QMessageBox::Ok);
    box.setObjectName("startup_warning");
    box.exec();
}

} // namespace

bool gothic_faces_available() {
    QString any_japanese; // an installed font that has every character, looked for only when needed
    for (const QString& face : {kGothic, kPGothic}) {
        const QStringList substitutes = QFont::substitutes(face);
        if (covers_program_characters(face) ||
            std::any_of(substitutes.begin(), substitutes.end(), covers_program_characters))
            continue;
        if (any_japanese.isEmpty()) {
            const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
            const auto found = std::find_if(japanese.begin(), japanese.end(), covers_program_characters);
            if (found == japanese.end()) return false;
            any_japanese = *found;
        }
        QFont::insertSubstitution(face, any_japanese);
    }
    return true;
}

QStringList missing_pictures() {
    QStringList missing;
    for (const QString& name : kProgramPictures) {
        if (!QImageReader(data_path(name)).canRead()) missing << name;
    }
    return missing;
}

void report_startup_problems() {
    if (!gothic_faces_available()) {
        // English first: without a Japanese font the Japanese lines show as boxes.
        warn_at_startup(
            QStringLiteral("No Japanese Gothic font was found, so the windows' text cannot be shown.\n"
                           "Install one: sudo apt install fonts-ipafont-gothic\n\n"
                           "日本語のゴシック体フォントが見つかりません。画面の文字が正しく表示されません。\n"
                           "日本語フォントをインストールしてください。"));
    }
    if (const QStringList missing = missing_pictures(); !missing.isEmpty()) {
        warn_at_startup(
            QStringLiteral("プログラムの画像が見つからないか、読めません（ボタンや絵が空白になります）。\n"
                           "%1\n場所: %2")
                .arg(missing.join(QStringLiteral(", ")),
                     QString::fromStdString(vantora::data_folder().string())));
    }
}

QFont gothic_font(double points, bool bold) {
    QFont font(kGothic);
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

QFont pgothic_font(double points, bool bold) {
    QFont font(kPGothic);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QString file_error_reason(int error_number) {
    switch (error_number) {
    case ENOENT:
        return QStringLiteral("ファイルまたはフォルダがありません");
    case EACCES:
    case EPERM:
        return QStringLiteral("読み書きする権限がありません");
    case EROFS:
        return QStringLiteral("読み取り専用のファイルシステムです");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("ディスクに空きがありません");
    case EISDIR:
        return QStringLiteral("フォルダです");
    case ENOTDIR:
        return QStringLiteral("途中の名前がフォルダではありません");
    case ENAMETOOLONG:
        return QStringLiteral("名前が長すぎます");
    case EIO:
        return QStringLiteral("読み書きの途中で装置のエラーが起きました");
    default:
        return QString::fromLocal8Bit(std::strerror(error_number));
    }
}

QString data_path(const QString& file_name) {
    return QString::fromStdString((vantora::data_folder() / file_name.toStdString()).string());
}

QPixmap data_picture(const QString& file_name) {
    return QPixmap(data_path(file_name));
}

QPoint centred_frame_position(const QRect& area, const QSize& frame_size) {
    return {area.x() + std::max(0, (area.width() - frame_size.width()) / 2),
            area.y() + std::max(0, (area.height() - frame_size.height()) / 2)};
}

namespace {

/// Margins of the frame the window system drew around window; zero while it has none.
QMargins frame_margins(const QWidget* window) {
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
            frame.bottom() - client.bottom()};
}

/// The frame margins of another visible, framed top-level window of the program, if any.
QMargins sibling_frame_margins(const QWidget* window) {
    for (const QWidget* other : QApplication::topLevelWidgets()) {
        if (other == window || !other->isVisible()) continue;
        const QMargins margins = frame_margins(other);
        if (!margins.isNull()) return margins;
    }
    return {};
}

/// Moves window so that a frame of the given margins around it is centred.
void place_centred(QWidget* window, const QMargins& frame) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QSize client = window->size();
    const QSize framed(client.width() + frame.left() + frame.right(),
                       client.height() + frame.top() + frame.bottom());
    window->move(centred_frame_position(screen->availableGeometry(), framed));
}

/// Centres its window once more by the window's real frame when the window system has framed
/// it, at the latest when the window is first exposed. Ends there: a frame that becomes known
/// only later, with the user's first move, must not move the window back.
class CentreWhenFramed : public QObject {
public:
    explicit CentreWhenFramed(QWidget* window)
        : QObject(window)
        , window_(window) {
        window->installEventFilter(this);
        if (window->windowHandle()) window->windowHandle()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type == QEvent::Show && watched == window_ && window_->windowHandle()) {
            // Exposure is reported to the native window only.
            window_->windowHandle()->installEventFilter(this);
        } else if (type == QEvent::Move || type == QEvent::Expose) {
            const QMargins frame = frame_margins(window_);
            if (!frame.isNull()) place_centred(window_, frame);
            if (!frame.isNull() || type == QEvent::Expose) finish();
        } else if (type == QEvent::Hide) {
            finish();
        }
        return false;
    }

private:
    void finish() {
        window_->removeEventFilter(this);
        if (window_->windowHandle()) window_->windowHandle()->removeEventFilter(this);
        deleteLater();
    }

    QWidget* window_;
};

} // namespace

void centre_on_screen(QWidget* window) {
    const QMargins own = frame_margins(window);
    place_centred(window, own.isNull() ? sibling_frame_margins(window) : own);
    if (own.isNull()) new CentreWhenFramed(window);
}

void own_by(QWidget* window, QWidget* owner) {
    // Qt hands the owner to the window system (WM_TRANSIENT_FOR on X11) for dialog-type windows.
    window->setWindowFlag(Qt::Dialog);
    window->winId();
    owner->window()->winId();
    window->windowHandle()->setTransientParent(owner->window()->windowHandle());
}

} // namespace vantora::ui
