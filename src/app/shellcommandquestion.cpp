#include "app/shellcommandquestion.h"

#include <QCoreApplication>
#include <QVariant>

CMessageBox::Question CShellCommandQuestion::For(const Place& place, bool windowShown)
{
    const bool windowSystem = place.platform.startsWith(QLatin1String("xcb")) ||
                              place.platform.startsWith(QLatin1String("wayland"));
    if (!windowSystem || !place.display)
        return CMessageBox::Question::None;
    return windowShown ? CMessageBox::Question::Waiting : CMessageBox::Question::SelfClosing;
}

CShellCommandQuestion::Place CShellCommandQuestion::Here()
{
    // The platform's name is a property of the window application, read without linking it.
    const QCoreApplication* app = QCoreApplication::instance();
    Place place;
    if (app)
        place.platform = app->property("platformName").toString();
    place.display =
        !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    return place;
}
