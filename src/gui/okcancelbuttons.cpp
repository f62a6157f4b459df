#include "gui/okcancelbuttons.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

QDialogButtonBox* COkCancelButtons::Create(QDialog* dialog)
{
    auto* buttons = new QDialogButtonBox(dialog);
    // Standard buttons, so they carry the icons the style gives OK and Cancel elsewhere.
    QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
    ok->setText(QCoreApplication::translate("COkCancelButtons", "OK"));
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setText(QCoreApplication::translate("COkCancelButtons", "Cancel"));
    cancel->setObjectName(QStringLiteral("cancel"));
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}
