// The rows of the map window's place search: the first places matching the typed text, from the
// shipped place data (read when the first text is typed).
#pragma once

#include "core/places.hpp"

#include <QAbstractListModel>
#include <QString>

#include <optional>
#include <vector>

namespace vantora::ui {

// No Q_OBJECT: the model adds no signals, slots or properties of its own.
class PlaceCompletionModel : public QAbstractListModel {
public:
    /// Rows shown for one text at most: enough to scroll through, few enough to list at once.
    static constexpr std::size_t kMaxRows = 100;
    /// Role of a row's place id (PlaceIndex::Id as unsigned int).
    static constexpr int kPlaceIdRole = Qt::UserRole + 1;

    explicit PlaceCompletionModel(QObject* parent = nullptr);

    /// Replaces the rows with the first kMaxRows places matching text, best first (none for a text
    /// that folds to nothing, or when the place data cannot be read).
    void set_text(const QString& text);

    /// The places, or nullptr when the data file cannot be read (see data_error()).
    const PlaceIndex* places() const;

    /// Why the place data cannot be read, or an empty text.
    QString data_error() const;

    /// The place a typed name stands for (exact, or the only one containing it), or nothing;
    /// `why` receives "見つかりません" or "候補が N 件あります".
    std::optional<PlaceIndex::Id> match(const QString& text, QString& why) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    /// The full name for the display and edit roles, the place id for kPlaceIdRole.
    QVariant data(const QModelIndex& index, int role) const override;

private:
    std::vector<PlaceIndex::Id> rows_;
};

} // namespace vantora::ui
