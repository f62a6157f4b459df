#pragma once

#include <QDialog>

// The About window: the product artwork, name, version and one line about the program,
// closed with "OK".
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
