#include "support/scriptedmessagebox.h"

CScriptedMessageBox::CScriptedMessageBox()
{
    CMessageBox::SetPresenter([this](const CMessageBox::Box& box) {
        m_shown.append(box);
        if (!m_answers.isEmpty())
            return m_answers.takeFirst();
        if (box.buttons == CMessageBox::Buttons::YesNo) {
            ++m_unanswered;
            return CMessageBox::Answer::No;
        }
        return CMessageBox::Answer::Ok;
    });
}

CScriptedMessageBox::~CScriptedMessageBox()
{
    CMessageBox::SetPresenter({});
}
