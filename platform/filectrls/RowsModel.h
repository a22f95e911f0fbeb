#pragma once
// A read-only list of texts for the file controls' list views: one string
// per row and nothing else, so a 100,000-file folder costs one QString each.
#include <QAbstractListModel>
#include <QStringList>

namespace vcl {

class RowsModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    void setRows(QStringList rows)
    {
        beginResetModel();
        m_rows = std::move(rows);
        endResetModel();
    }
    const QStringList& rows() const { return m_rows; }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_rows.size())
            return {};
        return m_rows[index.row()];
    }

private:
    QStringList m_rows;
};

} // namespace vcl
