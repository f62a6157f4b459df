#include "app/gui/messagelistmodel.h"

CMessageListModel::CMessageListModel(QObject* parent)
    : QAbstractListModel(parent)
{}

void CMessageListModel::Prepend(const QString& text)
{
    beginInsertRows(QModelIndex(), 0, 0);
    m_lines.prepend(text);
    endInsertRows();
}

int CMessageListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_lines.size());
}

QVariant CMessageListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_lines.size())
        return {};
    return m_lines.at(index.row());
}

QVariant CMessageListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::DisplayRole && orientation == Qt::Horizontal && section == 0)
        return tr("Connection");
    return {};
}
