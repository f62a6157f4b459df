#include "update/upgradedialcheck.h"

#include "common/messagebox.h"

CUpgradeDialCheck::CUpgradeDialCheck(CUpdateQuery query, QObject* parent)
    : CDialCheck(parent)
    , m_query(std::move(query))
{}

void CUpgradeDialCheck::Start()
{
    m_query.Start(this, [this](const QString& reply) { OnReply(reply); });
}

QString CUpgradeDialCheck::WebSite()
{
    return QStringLiteral("https://orvalis.example.org/");
}

void CUpgradeDialCheck::OnReply(const QString& reply)
{
    switch (CUpdateQuery::MeaningOf(reply)) {
    case CUpdateQuery::Meaning::NothingNew:
        Q_EMIT Finished(tr("No update available. Please try again later."), true);
        break;
    case CUpdateQuery::Meaning::NoAnswer:
        Q_EMIT Finished(
            tr("Error: cannot connect to the server.") + QLatin1Char('\n') +
                tr("Please visit %1 to see whether a newer version is available.").arg(WebSite()),
            true);
        break;
    case CUpdateQuery::Meaning::Notice:
        CMessageBox::Show(
            {reply, QStringLiteral("Orvalis"), CMessageBox::Icon::None, CMessageBox::Buttons::Ok});
        Q_EMIT CloseWindow();
        break;
    }
}
