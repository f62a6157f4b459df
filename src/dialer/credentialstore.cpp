#include "dialer/credentialstore.h"

#include "common/settingsstore.h"
#include "dialer/dbusasynccall.h"

#include <QDBusMessage>
#include <QMetaObject>

#include <qt6keychain/keychain.h>

#include <optional>
#include <utility>

namespace {

const QString kBusService = QStringLiteral("org.freedesktop.DBus");
const QString kBusPath = QStringLiteral("/org/freedesktop/DBus");

// The keyring's answers come back as one of these jobs.
template <typename JobType> JobType* NewJob(const CCredentialStore::Slot& slot)
{
    auto* job = new JobType(slot.keyringService);
    job->setKey(slot.keyringName);
    // Never the library's own plain-text file: without a keyring the settings file is used.
    job->setInsecureFallback(false);
    return job;
}

// A call to the bus itself about the Secret Service's name.
QDBusMessage BusCall(const QString& method, std::optional<uint> flags = std::nullopt)
{
    QDBusMessage call = QDBusMessage::createMethodCall(kBusService, kBusPath, kBusService, method);
    QVariantList arguments{QString::fromLatin1(CCredentialStore::kSecretService)};
    if (flags)
        arguments.append(*flags);
    call.setArguments(arguments);
    return call;
}

} // namespace

CCredentialStore::CCredentialStore(CSettingsStore* settings, QDBusConnection sessionBus,
                                   QObject* parent)
    : QObject(parent)
    , m_settings(settings)
    , m_sessionBus(std::move(sessionBus))
{}

CCredentialStore::~CCredentialStore() = default;

CCredentialStore::Slot CCredentialStore::EntrySlot(const QString& entry)
{
    return Slot{Keys::EntryUser(entry), Keys::EntryPassword(entry), entry};
}

void CCredentialStore::Load(const QString& entry, LoadHandler done)
{
    Load(EntrySlot(entry), std::move(done));
}

void CCredentialStore::Save(const QString& entry, const QString& user, const QString& password,
                            SaveHandler done)
{
    Save(EntrySlot(entry), user, password, std::move(done));
}

void CCredentialStore::Load(const Slot& slot, LoadHandler done)
{
    if (const auto pending = m_pending.find(PairName(slot)); pending != m_pending.end()) {
        QMetaObject::invokeMethod(
            this,
            [user = pending->second.user, password = pending->second.password,
             done = std::move(done)] {
                if (done)
                    done(user, password);
            },
            Qt::QueuedConnection);
        return;
    }
    Enqueue([this, slot, done = std::move(done)](std::function<void()> finished) {
        const QString user = m_settings ? m_settings->Read(slot.user) : QString();
        const QString password = m_settings ? m_settings->Read(slot.password) : QString();
        if (!password.isEmpty()) {
            finished();
            if (done)
                done(user, password);
            return;
        }
        CheckKeyring([this, slot, user, done, finished](bool available) {
            if (available) {
                LoadFromKeyring(slot, user, done, finished);
                return;
            }
            finished();
            if (done)
                done(user, QString());
        });
    });
}

void CCredentialStore::Save(const Slot& slot, const QString& user, const QString& password,
                            SaveHandler done)
{
    const QString pair = PairName(slot);
    Pending& pending = m_pending[pair];
    pending.user = user;
    pending.password = password;
    ++pending.saves;
    Enqueue([this, slot, user, password, pair,
             done = std::move(done)](std::function<void()> operationFinished) {
        const std::function<void()> finished = [this, pair, operationFinished] {
            SaveFinished(pair);
            operationFinished();
        };
        if (m_settings && !m_settings->Write(slot.user, user)) {
            finished();
            if (done)
                done(false, Place::SettingsFile);
            return;
        }
        CheckKeyring([this, slot, password, done, finished](bool available) {
            if (!available) {
                finished();
                SaveToFile(slot, password, done);
            } else if (password.isEmpty()) {
                EraseFromKeyring(slot, done, finished);
            } else {
                SaveToKeyring(slot, password, done, finished);
            }
        });
    });
}

QString CCredentialStore::PairName(const Slot& slot)
{
    return slot.keyringService + QLatin1Char('\n') + slot.keyringName;
}

void CCredentialStore::SaveFinished(const QString& pair)
{
    const auto pending = m_pending.find(pair);
    if (pending != m_pending.end() && --pending->second.saves <= 0)
        m_pending.erase(pending);
}

void CCredentialStore::Enqueue(Operation operation)
{
    m_queue.push_back(std::move(operation));
    if (!m_running)
        QMetaObject::invokeMethod(this, &CCredentialStore::RunNext, Qt::QueuedConnection);
}

void CCredentialStore::RunNext()
{
    if (m_running || m_queue.empty())
        return;
    m_running = true;
    Operation operation = std::move(m_queue.front());
    m_queue.pop_front();
    // Called before the operation's handler, which may even destroy the store: the next
    // operation starts from the event loop.
    operation([this] {
        m_running = false;
        if (!m_queue.empty())
            QMetaObject::invokeMethod(this, &CCredentialStore::RunNext, Qt::QueuedConnection);
    });
}

void CCredentialStore::CheckKeyring(std::function<void(bool available)> then)
{
    if (!m_sessionBus.isConnected()) {
        then(false);
        return;
    }
    // Nothing here waits for the bus: its answers come through the event loop. A service
    // that is not running may still be one the bus starts on demand.
    CDBusAsyncCall::Send(
        m_sessionBus, BusCall(QStringLiteral("NameHasOwner")), this,
        [this, then = std::move(then)](const QDBusMessage& owned) {
            if (owned.type() == QDBusMessage::ReplyMessage && !owned.arguments().isEmpty() &&
                owned.arguments().constFirst().toBool()) {
                then(true);
                return;
            }
            CDBusAsyncCall::Send(m_sessionBus, BusCall(QStringLiteral("StartServiceByName"), 0U),
                                 this, [then](const QDBusMessage& started) {
                                     then(started.type() == QDBusMessage::ReplyMessage);
                                 });
        });
}

void CCredentialStore::LoadFromKeyring(const Slot& slot, const QString& user, LoadHandler done,
                                       std::function<void()> finished)
{
    auto* job = NewJob<QKeychain::ReadPasswordJob>(slot);
    connect(job, &QKeychain::Job::finished, this,
            [job, user, done = std::move(done), finished = std::move(finished)] {
                QString password;
                if (job->error() == QKeychain::NoError)
                    password = job->textData();
                else if (job->error() != QKeychain::EntryNotFound)
                    qWarning("The keyring did not give the password of %s: %s",
                             qPrintable(job->key()), qPrintable(job->errorString()));
                finished();
                if (done)
                    done(user, password);
            });
    job->start();
}

void CCredentialStore::SaveToKeyring(const Slot& slot, const QString& password, SaveHandler done,
                                     std::function<void()> finished)
{
    auto* job = NewJob<QKeychain::WritePasswordJob>(slot);
    job->setTextData(password);
    connect(job, &QKeychain::Job::finished, this,
            [this, job, slot, password, done = std::move(done), finished = std::move(finished)] {
                finished();
                if (job->error() != QKeychain::NoError) {
                    // Nothing is lost: the password is kept in the settings file instead.
                    qWarning("The keyring did not take the password of %s: %s",
                             qPrintable(slot.keyringName), qPrintable(job->errorString()));
                    SaveToFile(slot, password, done);
                    return;
                }
                // The keyring has it now: an older copy in the file would win over it.
                if (m_settings)
                    m_settings->Remove(slot.password);
                if (done)
                    done(true, Place::Keyring);
            });
    job->start();
}

void CCredentialStore::EraseFromKeyring(const Slot& slot, SaveHandler done,
                                        std::function<void()> finished)
{
    auto* job = NewJob<QKeychain::DeletePasswordJob>(slot);
    connect(job, &QKeychain::Job::finished, this,
            [this, job, slot, done = std::move(done), finished = std::move(finished)] {
                finished();
                const bool erased =
                    job->error() == QKeychain::NoError || job->error() == QKeychain::EntryNotFound;
                if (!erased)
                    qWarning("The keyring did not remove the password of %s: %s",
                             qPrintable(slot.keyringName), qPrintable(job->errorString()));
                const bool removed = !m_settings || m_settings->Remove(slot.password);
                if (done)
                    done(erased && removed, Place::Keyring);
            });
    job->start();
}

void CCredentialStore::SaveToFile(const Slot& slot, const QString& password,
                                  const SaveHandler& done)
{
    bool saved = true;
    if (m_settings) {
        saved = password.isEmpty() ? m_settings->Remove(slot.password)
                                   : m_settings->Write(slot.password, password);
    }
    if (done)
        done(saved, Place::SettingsFile);
}
