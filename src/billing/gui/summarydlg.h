#pragma once

#include <QDialog>
#include <QList>

class CSettingsStore;
class QComboBox;
class QLabel;

// The summary window: the totals of the chosen period, with the period filter. Opening it
// selects the stored filter and computes; choosing a filter stores it and computes again;
// "Hide" stores the choice and closes.
class CSummaryDlg : public QDialog {
    Q_OBJECT

public:
    explicit CSummaryDlg(CSettingsStore& store, QWidget* parent = nullptr);

    // The value texts in the order of CSummaryText::Lines.
    QList<QString> ValueTexts() const;

public slots:
    // Stores the chosen filter in "Settings" SummaryWhen, runs a totals pass and shows it.
    void Recompute();

private:
    void StoreFilter();
    void OnHide();

    CSettingsStore& m_store;
    QList<QLabel*> m_values;
    QComboBox* m_filter = nullptr;
};
