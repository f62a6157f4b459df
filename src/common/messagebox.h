#pragma once

#include <QString>

#include <functional>

// The one way the program shows a message box or asks a question. The window library
// installs a presenter that draws real boxes; tests install one that answers by script.
// Without a presenter (the command-line tool) the text goes to standard error and
// questions are answered No.
class CMessageBox {
public:
    enum class Icon { None, Information, Question, Warning, Stop };
    enum class Buttons { Ok, YesNo };
    enum class Answer { Ok, Yes, No };

    struct Box {
        QString text;
        QString caption;
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
    };

    using Presenter = std::function<Answer(const Box&)>;

    // Caption of a box that has none of its own.
    static QString AppTitle();

    static Answer Show(const Box& box);

    // Yes/No question with a question icon, caption "Are you sure ?" unless given.
    static bool Ask(const QString& text, const QString& caption = QString());
    // OK box with the application title as caption.
    static void Inform(const QString& text);
    // OK box captioned "Error".
    static void Error(const QString& text);
    // OK box captioned "Warning" with a stop icon (cost warnings).
    static void Warning(const QString& text);

    // Installs the presenter for the whole process; an empty one restores the default.
    static void SetPresenter(Presenter presenter);
};
