#pragma once

#include "common/messagebox.h"

#include <QList>

// Answers message boxes from a script and records every box shown.
// Installs itself for its lifetime. A question with no scripted answer left is answered
// No and counted in Unanswered().
class CScriptedMessageBox {
public:
    CScriptedMessageBox();
    ~CScriptedMessageBox();

    void Answer(CMessageBox::Answer answer) { m_answers.append(answer); }
    const QList<CMessageBox::Box>& Shown() const { return m_shown; }
    int Unanswered() const { return m_unanswered; }
    void Clear() { m_shown.clear(); }

private:
    QList<CMessageBox::Answer> m_answers;
    QList<CMessageBox::Box> m_shown;
    int m_unanswered = 0;
};
