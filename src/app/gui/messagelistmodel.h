#pragma once

#include <QAbstractListModel>
#include <QStringList>

// The main window's message list: newest line first, nothing ever removed. Adding a line
// costs the same after days of running as at the start.
class CMessageListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit CMessageListModel(QObject* parent = nullptr);

    void Prepend(const QString& text);
    const QStringList& Lines() const { return m_lines; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QStringList m_lines;
};
