#include "zdesktop.h"

#include "zhostevents.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

namespace zubrel {

void ZDesktop::flashWindow(QWidget *widget, bool on)
{
    if (!widget || !on)
        return;
    QWidget *window = widget->window();
    ZHostEvents::instance()->report(QStringLiteral("flash"),
                                    {{QStringLiteral("widget"), QVariant::fromValue<QObject *>(window)}});
    QApplication::alert(window, 0);
}

void ZDesktop::setCentered(QWidget *widget)
{
    if (!widget)
        return;
    QWidget *window = widget->window();
    QScreen *screen = QGuiApplication::screenAt(window->frameGeometry().center());
    if (!screen)
        screen = window->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

void ZDesktop::setBackgroundColor(QWidget *widget, const QColor &color)
{
    if (!widget)
        return;
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace zubrel
