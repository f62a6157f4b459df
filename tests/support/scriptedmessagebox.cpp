#include "support/scriptedmessagebox.h"

CScriptedMessageBox::CScriptedMessageBox()
{
    CMessageBox::SetPresenter([this](const CMessageBox::Box& box) {
        m_shown.append(box);
        const bool scripted = !m_answers.isEmpty();
        const std::optional<CMessageBox::Answer> answer =
            scripted ? m_answers.takeFirst() : std::nullopt;
        if (answer)
            return *answer;
        const bool question = box.buttons == CMessageBox::Buttons::YesNo;
        if (scripted && question && box.closeAfterSeconds > 0)
            return box.answerOnClose;
        if (question) {
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
