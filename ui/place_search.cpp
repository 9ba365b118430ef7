#include "ui/place_search.hpp"

namespace vantora::ui {

PlaceCompletionModel::PlaceCompletionModel(QObject* parent)
    : QAbstractListModel(parent) {}

const PlaceIndex* PlaceCompletionModel::places() const {
    return std::get_if<PlaceIndex>(&shared_places());
}

QString PlaceCompletionModel::data_error() const {
    const auto* error = std::get_if<PlaceDataError>(&shared_places());
    return error ? QString::fromStdString(error->message) : QString();
}

void PlaceCompletionModel::set_text(const QString& text) {
    beginResetModel();
    const PlaceIndex* index = places();
    rows_ = index ? index->complete(text.toStdString(), kMaxRows) : std::vector<PlaceIndex::Id>{};
    endResetModel();
}

std::optional<PlaceIndex::Id> PlaceCompletionModel::match(const QString& text, QString& why) const {
    const PlaceIndex* index = places();
    if (!index) {
        why = data_error();
        return std::nullopt;
    }
    // Only the count is shown in the window's narrow note; the candidates are in the list.
    const PlaceMatch found = index->match(text.toStdString(), 0);
    if (found.kind == PlaceMatch::Kind::found) return found.places.front();
    why = QString::fromStdString(index->failure_text(found));
    return std::nullopt;
}

int PlaceCompletionModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QVariant PlaceCompletionModel::data(const QModelIndex& index, int role) const {
    const PlaceIndex* places_now = places();
    if (!places_now || !index.isValid() || index.row() >= rowCount()) return {};
    const PlaceIndex::Id id = rows_[static_cast<std::size_t>(index.row())];
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        const std::string_view name = places_now->name(id);
        return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    }
    if (role == kPlaceIdRole) return static_cast<unsigned>(id);
    return {};
}

} // namespace vantora::ui
