#pragma once

#include "dialer/gui/dialerparts.h"
#include "dialer/phonebookactions.h"

#include <QDialog>
#include <QTimer>

#include <functional>

class QTreeWidget;

// The Connections window: the phonebook's entries, and buttons to dial, add, edit, delete,
// choose the default entry and edit an entry's credentials. The rules are
// CPhonebookActions'; the list follows the phonebook while the window is open. One window
// at a time: opening it again brings the open one to the front.
class CConnectionsDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kRefreshMs = 3000;

    ~CConnectionsDlg() override;

    // closed (may be empty) is called once the window has closed.
    static CConnectionsDlg* Open(const CDialerParts& parts, QWidget* parent,
                                 std::function<void()> closed = {});
    static CConnectionsDlg* Current();

    QStringList Listed() const;
    const QString& Selected() const { return m_selected; }
    // What a click on the list does: an empty name is a click outside any item.
    void Select(const QString& name);
    void DoubleClick(const QString& name);
    void Dial();
    void Add();
    void Edit();
    void Delete();
    void SetAsDefault();
    void Advanced();
    void Help();
    void Hide();
    // Fills the list again if the phonebook changed.
    void Refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CConnectionsDlg(const CDialerParts& parts, QWidget* parent);
    // Past the data plan's cap the user is asked first.
    bool MayDialByHand() const;
    void Fill(const QStringList& names);

    CDialerParts m_parts;
    CPhonebookActions m_actions;
    QTreeWidget* m_list = nullptr;
    QString m_selected;
    QTimer m_refresh;
};
