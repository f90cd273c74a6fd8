#pragma once

#include <QAbstractListModel>
#include <QHash>
#include <QList>
#include <QVariant>

#include <algorithm>
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

    // Makes the rows equal to rows in place: rows whose id vanished are
    // removed, surviving rows are moved into the new order (keeping their
    // identity for views), changed ones report dataChanged, new ones are
    // inserted where they belong.
    void sync(const std::vector<T> &rows)
    {
        const int before = count();
        auto inNew = [&rows](const T &row) {
            return std::any_of(rows.begin(), rows.end(), [&row](const T &r) { return r.id == row.id; });
        };
        for (int i = count() - 1; i >= 0; --i) {
            if (inNew(m_rows[size_t(i)]))
                continue;
            beginRemoveRows(QModelIndex(), i, i);
            m_rows.erase(m_rows.begin() + i);
            endRemoveRows();
        }
        std::vector<bool> changed(rows.size(), false);
        for (size_t i = 0; i < rows.size(); ++i) {
            size_t j = i;
            while (j < m_rows.size() && !(m_rows[j].id == rows[i].id))
                ++j;
            if (j == m_rows.size()) {
                beginInsertRows(QModelIndex(), int(i), int(i));
                m_rows.insert(m_rows.begin() + long(i), rows[i]);
                endInsertRows();
                continue;
            }
            if (j != i) {
                beginMoveRows(QModelIndex(), int(j), int(j), QModelIndex(), int(i));
                std::rotate(m_rows.begin() + long(i), m_rows.begin() + long(j), m_rows.begin() + long(j) + 1);
                endMoveRows();
            }
            if (!(m_rows[i] == rows[i])) {
                m_rows[i] = rows[i];
                changed[i] = true;
            }
        }
        // Rows left over (an id the old list held twice) go.
        if (m_rows.size() > rows.size()) {
            beginRemoveRows(QModelIndex(), int(rows.size()), int(m_rows.size()) - 1);
            m_rows.resize(rows.size());
            endRemoveRows();
        }
        for (size_t i = 0; i < changed.size();) {
            if (!changed[i]) {
                ++i;
                continue;
            }
            size_t end = i;
            while (end + 1 < changed.size() && changed[end + 1])
                ++end;
            emit dataChanged(index(int(i)), index(int(end)));
            i = end + 1;
        }
        if (count() != before)
            emit countChanged();
    }

private:
    std::vector<T> m_rows;
};
