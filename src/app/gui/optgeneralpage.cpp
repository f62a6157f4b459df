#include "app/gui/optgeneralpage.h"

#include "app/generaloptions.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QString PickFolder(QWidget* parent, const QString& title, const QString& start)
{
    return QFileDialog::getExistingDirectory(parent, title, start, QFileDialog::ShowDirsOnly);
}
} // namespace

COptGeneralPage::COptGeneralPage(CSettingsStore& store, QWidget* parent)
    : QWidget(parent)
    , m_store(store)
    , m_picker(&PickFolder)
    , m_folder(new QLineEdit)
    , m_startWithDesktop(new QCheckBox(tr("Start Orvalis when I log in")))
    , m_showMainWindow(new QCheckBox(tr("Show main window when starting")))
    , m_showSplash(new QCheckBox(tr("Show splash screen when starting")))
    , m_showWhenConnected(new QCheckBox(tr("Show main window when connected, then hide")))
    , m_confirmHangup(new QCheckBox(tr("Ask when closing connection")))
    , m_confirmExit(new QCheckBox(tr("Ask before exiting")))
{
    auto* logGroup = new QGroupBox(tr("Logfile creating/reading path"));
    auto* browse = new QPushButton(tr("Browse"));
    auto* logRow = new QHBoxLayout(logGroup);
    logRow->addWidget(m_folder, 1);
    logRow->addWidget(browse);
    connect(browse, &QPushButton::clicked, this, &COptGeneralPage::Browse);

    auto* startGroup = new QGroupBox(tr("Startup"));
    auto* startBox = new QVBoxLayout(startGroup);
    auto* note = new QLabel(tr("Orvalis can start by itself when you log in (recommended). "
                               "Otherwise you have to start Orvalis yourself."));
    note->setWordWrap(true);
    startBox->addWidget(note);
    startBox->addWidget(m_startWithDesktop);
    startBox->addWidget(m_showMainWindow);
    startBox->addWidget(m_showSplash);
    startBox->addWidget(m_showWhenConnected);

    auto* confirmGroup = new QGroupBox(tr("Confirmation"));
    auto* confirmBox = new QVBoxLayout(confirmGroup);
    confirmBox->addWidget(m_confirmHangup);
    confirmBox->addWidget(m_confirmExit);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(logGroup);
    layout->addWidget(startGroup);
    layout->addWidget(confirmGroup);
    layout->addStretch(1);

    Open();
}

void COptGeneralPage::Open()
{
    const CGeneralOptions options = CGeneralOptions::Load(m_store);
    m_folder->setText(options.logFolder);
    m_startWithDesktop->setChecked(options.startWithDesktop);
    m_showMainWindow->setChecked(options.showMainWindow);
    m_showSplash->setChecked(options.showSplash);
    m_showWhenConnected->setChecked(options.showWhenConnected);
    m_confirmHangup->setChecked(options.confirmHangup);
    m_confirmExit->setChecked(options.confirmExit);
}

void COptGeneralPage::Apply()
{
    CGeneralOptions options;
    options.logFolder = m_folder->text();
    options.startWithDesktop = m_startWithDesktop->isChecked();
    options.showMainWindow = m_showMainWindow->isChecked();
    options.showSplash = m_showSplash->isChecked();
    options.showWhenConnected = m_showWhenConnected->isChecked();
    options.confirmHangup = m_confirmHangup->isChecked();
    options.confirmExit = m_confirmExit->isChecked();
    options.Store(m_store, QCoreApplication::applicationFilePath());
}

void COptGeneralPage::Browse()
{
    const QString chosen =
        m_picker(this, tr("Select directory for logfile creating/reading"), m_folder->text());
    if (!chosen.isEmpty())
        m_folder->setText(chosen);
}
