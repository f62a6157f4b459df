#pragma once

#include <QList>
#include <QProcess>
#include <QSslCertificate>
#include <QString>
#include <QTemporaryDir>

#include <memory>

// A real POP3 server (dovecot) of the test's own on 127.0.0.1, with its configuration,
// users and mailboxes in a folder of the test. Runs as root; the mailboxes belong to
// "nobody". With TLS it serves a certificate, made by openssl for the given host name and
// signed by an authority of the test, on a second port and through STLS.
class CDovecotServer {
public:
    CDovecotServer();
    ~CDovecotServer();

    // Empty when dovecot and openssl are there and the test runs as root; else why not.
    static QString Missing();

    // Before Start: a user and the number of messages in its mailbox.
    bool AddUser(const QString& user, const QString& password, int messages);
    // Starts the server (with TLS when certificateHost is not empty); true once it accepts
    // connections.
    bool Start(const QString& certificateHost = QString());

    quint16 Port() const { return m_port; }
    quint16 TlsPort() const { return m_tlsPort; }
    // The test's authority, which signed the server's certificate.
    QList<QSslCertificate> Authority() const;
    // The certificate the server presents.
    QSslCertificate Certificate() const;
    QString Log() const;

private:
    bool MakeCertificate(const QString& host);
    bool Run(const QString& program, const QStringList& arguments) const;

    QTemporaryDir m_dir;
    std::unique_ptr<QProcess> m_dovecot;
    QString m_users;
    quint16 m_port = 0;
    quint16 m_tlsPort = 0;
};
