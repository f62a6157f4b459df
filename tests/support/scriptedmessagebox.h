#pragma once

#include "common/messagebox.h"

#include <QList>

#include <optional>

// Answers message boxes from a script and records every box shown (a box that would close
// itself has its closeAfterSeconds set). Installs itself for its lifetime. A question with
// no scripted answer left is answered No and counted in Unanswered(); so is a timed-out
// answer given to a box that does not close itself.
class CScriptedMessageBox {
public:
    CScriptedMessageBox();
    ~CScriptedMessageBox();

    void Answer(CMessageBox::Answer answer) { m_answers.append(answer); }
    // Nobody answers: the box closes itself and gives its own answer.
    void AnswerTimedOut() { m_answers.append(std::nullopt); }
    const QList<CMessageBox::Box>& Shown() const { return m_shown; }
    int Unanswered() const { return m_unanswered; }
    void Clear() { m_shown.clear(); }

private:
    QList<std::optional<CMessageBox::Answer>> m_answers;
    QList<CMessageBox::Box> m_shown;
    int m_unanswered = 0;
};
