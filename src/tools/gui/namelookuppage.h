#pragma once

#include <QWidget>

#include <functional>

class QLineEdit;
class QPushButton;

// The "Get Host/IP" page: a host name to its IPv4 address and an address to its name.
// Each click looks up on a thread of its own and shows the answer in a box of its own.
class CNameLookupPage : public QWidget {
    Q_OBJECT

public:
    explicit CNameLookupPage(QWidget* parent = nullptr);
    ~CNameLookupPage() override;

    QLineEdit* HostField() const { return m_host; }
    QLineEdit* AddressField() const { return m_address; }
    QPushButton* ToAddressButton() const { return m_toAddress; }
    QPushButton* ToHostButton() const { return m_toHost; }

private:
    void Look(std::function<QString()> lookup, const QString& caption);
    void Answered(const QString& text, const QString& caption);

    QLineEdit* m_host;
    QLineEdit* m_address;
    QPushButton* m_toAddress;
    QPushButton* m_toHost;
    int m_waiting = 0;
};
