#include "app/gui/aboutdlg.h"
#include "gui/windowframe.h"

#include <QDialogButtonBox>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QSize kArtworkSize(320, 110);

// Only sizes and weights: the colours are the desktop's, light or dark.
const char* const kStyle = R"(
QLabel#name { font-size: 18pt; font-weight: bold; }
QPushButton { min-width: 60px; }
)";
} // namespace

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(tr("About Orvalis"));
    setModal(true);
    setStyleSheet(QString::fromLatin1(kStyle));

    // Drawn from the vector artwork at the screen's pixel ratio, so it stays sharp.
    auto* artwork = new QLabel(this);
    artwork->setObjectName(QStringLiteral("artwork"));
    artwork->setPixmap(
        QIcon(QStringLiteral(":/images/about.svg")).pixmap(kArtworkSize, devicePixelRatioF()));
    artwork->setFixedSize(kArtworkSize);

    auto* name = new QLabel(QStringLiteral("Orvalis"), this);
    name->setObjectName(QStringLiteral("name"));
    auto* version = new QLabel(tr("Version ") + QStringLiteral(ORVALIS_VERSION), this);
    version->setObjectName(QStringLiteral("version"));
    version->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* description =
        new QLabel(tr("Watches your dial-up and metered connections and tells you what "
                      "every call costs."),
                   this);
    description->setObjectName(QStringLiteral("description"));
    description->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
    ok->setText(tr("OK"));
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* text = new QVBoxLayout;
    text->setContentsMargins(16, 8, 16, 0);
    text->addWidget(name);
    text->addWidget(version);
    text->addSpacing(6);
    text->addWidget(description);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 12);
    layout->addWidget(artwork);
    layout->addLayout(text);
    layout->addSpacing(8);
    auto* bottom = new QHBoxLayout;
    bottom->setContentsMargins(16, 0, 16, 0);
    bottom->addWidget(buttons);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    CWindowFrame::Apply(this);
}
