#pragma once
// Looks at the chat module from outside, without linking it: finds the
// controller among the messaging helper's children, asks it for its
// registry of open chats, names windows by chat key and reads windows, tabs
// and cards through their properties, object names and the host's widget
// classes.

#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QVariantMap>

class QWidget;

namespace zubrel {

class ZContactCard;

class ChatStateReader
{
public:
    // The controller, null before the contact directory reported ready.
    static QObject *controller();
    // The controller's registry; empty when there is no controller.
    static QVariantMap registry();

    // key -> window for every open chat: "2001", "mc:<id>", "rc:<id>".
    static QList<QPair<QString, QWidget *>> windows();
    static QWidget *window(const QString &key);
    // The chat key of the window that holds object; empty when none does.
    static QString keyOf(const QObject *object);

    // The chat tabs of a window in tab order, and the first one.
    static QList<QWidget *> tabs(QWidget *window);
    static QWidget *firstTab(const QString &key);
    // The tab's input and message view (object names "input" and "view").
    static QWidget *input(QWidget *tab);
    static QWidget *view(QWidget *tab);
    // Cards of the tab's card list; the card with that id, or the own card for "own".
    static QList<ZContactCard *> cards(QWidget *tab);
    static ZContactCard *card(QWidget *tab, const QString &id);

    // The trace's "state" event fields.
    static QJsonObject state();

private:
    static QJsonObject tabState(QWidget *tab, const QString &title);
};

} // namespace zubrel
