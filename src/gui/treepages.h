#pragma once

#include <QString>

class QDialog;
class QDialogButtonBox;
class QStackedWidget;
class QTreeWidget;
class QWidget;
struct QMargins;

// The body shared by the windows that show a tree of items on the left and the page of the
// selected item on the right, with OK and Cancel below: the preferences, the schedule and
// the Internet tools. It lays itself out in the dialog it is given; selecting an item shows
// its page, and the pages live as long as the dialog.
class CTreePages {
public:
    CTreePages(QDialog& dialog, const QMargins& margins);

    // Adds an item and its page at the end.
    void AddPage(const QString& title, QWidget* page);
    // Puts `page` in place of the page at `index`, which is deleted.
    void ReplacePage(int index, QWidget* page);
    int CurrentPage() const;
    void SelectPage(int page);

    QTreeWidget* Tree() const { return m_tree; }
    QStackedWidget* Stack() const { return m_stack; }
    QDialogButtonBox* Buttons() const { return m_buttons; }

    // Shows the dialog modal, centred over the parent when there is one; true when it was
    // closed with OK.
    static bool ExecOver(QDialog& dialog, QWidget* parent);

private:
    QTreeWidget* m_tree;
    QStackedWidget* m_stack;
    QDialogButtonBox* m_buttons;
};
