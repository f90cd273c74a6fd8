#pragma once

#include <QAbstractListModel>
#include <QHash>
#include <QList>
#include <QVariant>

#include <vector>

// A list model over small value records that carry an `id`. Syncing a new
// list keeps the rows whose id survives (so QML delegates keep their
// identity), removes the ones that vanished and appends the new ones.
class RecordListModelBase : public QAbstractListModel {
    Q_OBJECT
    Q_PROPERTY(int count READ count NOTIFY countChanged)
public:
    using QAbstractListModel::QAbstractListModel;
    virtual int count() const = 0;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : count();
    }

signals:
    void countChanged();
};

// T needs: a member `id` of any type with ==, `static QHash<int, QByteArray>
// roles()` (keys from Qt::UserRole), `QVariant roleValue(int role) const`
// and ==.
template<typename T>
class RecordListModel final : public RecordListModelBase {
public:
    using RecordListModelBase::RecordListModelBase;

    int count() const override { return int(m_rows.size()); }
    const std::vector<T> &rows() const { return m_rows; }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() < 0 || index.row() >= count())
            return {};
        return m_rows[size_t(index.row())].roleValue(role);
    }
    QHash<int, QByteArray> roleNames() const override { return T::roles(); }

    // rows must be the surviving old rows in their old order followed by
    // new ones; anything else is applied as a full reset.
    void sync(const std::vector<T> &rows)
    {
        // Match the new list's front against the old rows, in order.
        std::vector<bool> survives(m_rows.size(), false);
        size_t keep = 0;
        for (size_t i = 0; i < m_rows.size() && keep < rows.size(); ++i) {
            if (m_rows[i].id == rows[keep].id) {
                survives[i] = true;
                ++keep;
            }
        }
        // A dropped old row that shows up again later means the order
        // changed: rebuild instead.
        for (size_t i = 0; i < m_rows.size(); ++i) {
            if (survives[i])
                continue;
            for (size_t k = keep; k < rows.size(); ++k) {
                if (rows[k].id == m_rows[i].id) {
                    resetTo(rows);
                    return;
                }
            }
        }
        const int before = count();
        for (int i = int(m_rows.size()) - 1; i >= 0; --i) {
            if (survives[size_t(i)])
                continue;
            beginRemoveRows(QModelIndex(), i, i);
            m_rows.erase(m_rows.begin() + i);
            endRemoveRows();
        }
        int first = -1, last = -1;
        for (size_t i = 0; i < keep; ++i) {
            if (!(m_rows[i] == rows[i])) {
                m_rows[i] = rows[i];
                if (first < 0)
                    first = int(i);
                last = int(i);
            }
        }
        if (first >= 0)
            emit dataChanged(index(first), index(last));
        if (rows.size() > keep) {
            beginInsertRows(QModelIndex(), int(keep), int(rows.size()) - 1);
            m_rows.insert(m_rows.end(), rows.begin() + long(keep), rows.end());
            endInsertRows();
        }
        if (count() != before)
            emit countChanged();
    }

private:
    void resetTo(const std::vector<T> &rows)
    {
        const int before = count();
        beginResetModel();
        m_rows = rows;
        endResetModel();
        if (count() != before)
            emit countChanged();
    }

    std::vector<T> m_rows;
};
