#pragma once
// Desktop helpers for windows: draw attention, centre on a screen, paint a
// plain background.

#include <QColor>

class QWidget;

namespace zubrel {

class ZDesktop
{
public:
    // on = true asks the window system to flag the window (task bar flash)
    // until the user activates it; Qt offers no way to stop it early, so
    // on = false does nothing. Reported as a "flash" event.
    static void flashWindow(QWidget *widget, bool on);
    // Centres the widget's window on the available area of the screen it is
    // on (the primary screen when it is on none).
    static void setCentered(QWidget *widget);
    static void setBackgroundColor(QWidget *widget, const QColor &color);
};

} // namespace zubrel
