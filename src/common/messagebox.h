#pragma once

#include <QString>

#include <functional>

// The one way the program shows a message box or asks a question. The window library
// installs a presenter that draws real boxes; tests install one that answers by script.
// Without a presenter (the command-line tool) the text goes to standard error and
// questions are answered No, except one that would close itself: it gives its own answer.
class CMessageBox {
public:
    enum class Icon { None, Information, Question, Warning, Stop };
    enum class Buttons { Ok, YesNo };
    enum class Answer { Ok, Yes, No };

    // How an action that has a question asks it: not at all, waiting for the answer, or
    // with a box that closes itself after a while and gives its own answer then (for what
    // the program does on its own, when nobody may be there to answer).
    enum class Question { None, Waiting, SelfClosing };

    // How long a self-closing question waits for an answer.
    static constexpr int kSelfCloseSeconds = 30;

    struct Box {
        QString text;
        QString caption;
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
        // Above 0: the box closes itself after so many seconds (counting them down where
        // it can be seen) and gives `answerOnClose`.
        int closeAfterSeconds = 0;
        Answer answerOnClose = Answer::Yes;
    };

    using Presenter = std::function<Answer(const Box&)>;

    // Caption of a box that has none of its own.
    static QString AppTitle();

    static Answer Show(const Box& box);

    // Yes/No question with a question icon, caption "Are you sure?" unless given.
    static bool Ask(const QString& text, const QString& caption = QString());
    // Yes/No question that closes itself after `seconds` and then answers Yes: the action
    // goes ahead unless someone says No in time.
    static bool AskOrGoAhead(const QString& text, int seconds = kSelfCloseSeconds,
                             const QString& caption = QString());
    // The question as `question` says: true without one, else the answer.
    static bool Confirm(Question question, const QString& text);
    // OK box with the application title as caption.
    static void Inform(const QString& text);
    // OK box captioned "Error".
    static void Error(const QString& text);
    // OK box captioned "Warning" with a stop icon (cost warnings).
    static void Warning(const QString& text);

    // Installs the presenter for the whole process; an empty one restores the default.
    static void SetPresenter(Presenter presenter);
};
