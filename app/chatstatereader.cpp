#include "chatstatereader.h"

#include <QAbstractScrollArea>
#include <QJsonArray>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QWidget>

#include "wrappluginhelper.h"
#include "zcontactcard.h"
#include "zcontactcardlist.h"
#include "zstatusbar.h"

namespace zubrel {

namespace {

const char *const chatTabClass = "zubrel::ZChatTab";

QJsonArray geometryOf(const QWidget *widget)
{
    const QRect r = widget->geometry();
    return QJsonArray{r.x(), r.y(), r.width(), r.height()};
}

QString plainText(const QWidget *widget)
{
    if (auto *edit = qobject_cast<const QTextEdit *>(widget))
        return edit->toPlainText();
    if (auto *edit = qobject_cast<const QPlainTextEdit *>(widget))
        return edit->toPlainText();
    return {};
}

// A property when the tab declares it, else the fallback.
QJsonValue property(const QWidget *tab, const char *name, const QJsonValue &fallback)
{
    const QVariant value = tab->property(name);
    if (!value.isValid())
        return fallback;
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (value.typeId() == QMetaType::QString)
        return value.toString();
    return QJsonValue::fromVariant(value);
}

// Shown as far as the chat is concerned: a card in a hidden user list is
// not, whether or not its window is on screen.
bool isShown(const QWidget *widget)
{
    return widget->isVisibleTo(widget->window());
}

QJsonObject cardState(const ZContactCard *card)
{
    return QJsonObject{{QStringLiteral("id"), card->zubrelId()},
                       {QStringLiteral("alias"), card->alias()},
                       {QStringLiteral("status"), card->status()},
                       {QStringLiteral("typing"), card->isTyping()},
                       {QStringLiteral("blocked"), card->isBlocked()},
                       {QStringLiteral("mobile"), card->isMobile()},
                       {QStringLiteral("generalApp"), card->generalApp()},
                       {QStringLiteral("visible"), isShown(card)}};
}

QStringList keysOf(const QVariantMap &registry, const QString &name, const QString &prefix)
{
    QStringList keys;
    const QVariantMap map = registry.value(name).toMap();
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        keys.append(prefix + it.key());
    return keys;
}

} // namespace

QObject *ChatStateReader::controller()
{
    const QObjectList children = WrapPluginHelper::Instance()->children();
    for (QObject *child : children) {
        if (qstrcmp(child->metaObject()->className(), "zubrel::Chat") == 0)
            return child;
    }
    return nullptr;
}

QVariantMap ChatStateReader::registry()
{
    QObject *chat = controller();
    QVariantMap result;
    if (chat)
        QMetaObject::invokeMethod(chat, "registry", Qt::DirectConnection, Q_RETURN_ARG(QVariantMap, result));
    return result;
}

QList<QPair<QString, QWidget *>> ChatStateReader::windows()
{
    QList<QPair<QString, QWidget *>> result;
    const QVariantMap reg = registry();
    const QList<QPair<QString, QString>> kinds = {{QStringLiteral("chats"), QString()},
                                                  {QStringLiteral("multichats"), QStringLiteral("mc:")},
                                                  {QStringLiteral("randomChats"), QStringLiteral("rc:")}};
    for (const auto &[name, prefix] : kinds) {
        const QVariantMap map = reg.value(name).toMap();
        for (auto it = map.cbegin(); it != map.cend(); ++it) {
            auto *widget = qobject_cast<QWidget *>(it.value().value<QObject *>());
            if (widget)
                result.append({prefix + it.key(), widget});
        }
    }
    if (auto *pending = qobject_cast<QWidget *>(reg.value(QStringLiteral("pendingRandomChat")).value<QObject *>()))
        result.append({QStringLiteral("rc:pending"), pending});
    return result;
}

QWidget *ChatStateReader::window(const QString &key)
{
    const auto all = windows();
    for (const auto &[k, widget] : all) {
        if (k == key)
            return widget;
    }
    return nullptr;
}

QString ChatStateReader::keyOf(const QObject *object)
{
    auto *widget = qobject_cast<const QWidget *>(object);
    if (!widget)
        return {};
    const QWidget *top = widget->window();
    const auto all = windows();
    for (const auto &[key, window] : all) {
        if (window == widget || window == top)
            return key;
    }
    return {};
}

QList<QWidget *> ChatStateReader::tabs(QWidget *window)
{
    QList<QWidget *> result;
    if (!window)
        return result;
    // Tab order when the window shows a tab widget; its own children otherwise.
    if (auto *tabWidget = window->findChild<QTabWidget *>()) {
        for (int i = 0; i < tabWidget->count(); ++i) {
            if (QWidget *page = tabWidget->widget(i); page && page->inherits(chatTabClass))
                result.append(page);
        }
    }
    if (result.isEmpty()) {
        const auto children = window->findChildren<QWidget *>();
        for (QWidget *child : children) {
            if (child->inherits(chatTabClass))
                result.append(child);
        }
    }
    return result;
}

QWidget *ChatStateReader::firstTab(const QString &key)
{
    const QList<QWidget *> all = tabs(window(key));
    return all.isEmpty() ? nullptr : all.first();
}

QWidget *ChatStateReader::input(QWidget *tab)
{
    return tab ? tab->findChild<QWidget *>(QStringLiteral("input")) : nullptr;
}

QWidget *ChatStateReader::view(QWidget *tab)
{
    return tab ? tab->findChild<QWidget *>(QStringLiteral("view")) : nullptr;
}

QList<ZContactCard *> ChatStateReader::cards(QWidget *tab)
{
    QList<ZContactCard *> result;
    auto *list = tab ? tab->findChild<ZContactCardList *>(QStringLiteral("cardList")) : nullptr;
    if (!list)
        return result;
    for (int i = 0; i < list->size(); ++i) {
        if (ZContactCard *card = list->card(i))
            result.append(card);
    }
    return result;
}

ZContactCard *ChatStateReader::card(QWidget *tab, const QString &id)
{
    if (!tab)
        return nullptr;
    if (id == QLatin1String("own"))
        return tab->findChild<ZContactCard *>(QStringLiteral("ownCard"));
    const auto all = cards(tab);
    for (ZContactCard *card : all) {
        if (card->zubrelId() == id)
            return card;
    }
    return nullptr;
}

QJsonObject ChatStateReader::tabState(QWidget *tab, const QString &title)
{
    QJsonArray cardList;
    for (const ZContactCard *card : cards(tab))
        cardList.append(cardState(card));
    QJsonValue own = QJsonValue::Null;
    if (const ZContactCard *card = ChatStateReader::card(tab, QStringLiteral("own")))
        own = QJsonObject{{QStringLiteral("id"), card->zubrelId()},
                          {QStringLiteral("alias"), card->alias()},
                          {QStringLiteral("status"), card->status()},
                          {QStringLiteral("visible"), isShown(card)}};
    QJsonObject result{{QStringLiteral("title"), title},
                       {QStringLiteral("input"), property(tab, "inputText", plainText(input(tab)))},
                       {QStringLiteral("view"), property(tab, "viewText", plainText(view(tab)))},
                       {QStringLiteral("cards"), cardList},
                       {QStringLiteral("own"), own}};
    if (const QWidget *field = input(tab))
        result.insert(QStringLiteral("readOnly"), field->property("readOnly").toBool());
    for (const char *name : {"noLog", "encrypted", "otherNetwork", "plain", "multichat", "multiChatOwner",
                             "randomChat", "multichatId", "randomChatId"})
        result.insert(QLatin1String(name), property(tab, name, QJsonValue::Null));
    return result;
}

QJsonObject ChatStateReader::state()
{
    QJsonArray chats;
    for (const auto &[key, window] : windows()) {
        const QString kind = key.startsWith(QLatin1String("mc:")) ? QStringLiteral("multichat")
            : key.startsWith(QLatin1String("rc:"))                ? QStringLiteral("randomchat")
                                                                  : QStringLiteral("chat");
        QJsonArray tabList;
        auto *tabWidget = window->findChild<QTabWidget *>();
        for (QWidget *tab : tabs(window)) {
            const int index = tabWidget ? tabWidget->indexOf(tab) : -1;
            tabList.append(tabState(tab, index >= 0 ? tabWidget->tabText(index) : tab->windowTitle()));
        }
        // The host's status bar keeps its text in a label of its own; a
        // plain one shows it as the current message.
        QString status;
        if (auto *own = window->findChild<ZStatusBar *>())
            status = own->message();
        else if (auto *plain = window->findChild<QStatusBar *>())
            status = plain->currentMessage();
        chats.append(QJsonObject{{QStringLiteral("key"), key},
                                 {QStringLiteral("kind"), kind},
                                 {QStringLiteral("title"), window->windowTitle()},
                                 {QStringLiteral("visible"), window->isVisible()},
                                 {QStringLiteral("minimized"), window->isMinimized()},
                                 {QStringLiteral("geometry"), geometryOf(window)},
                                 {QStringLiteral("statusBar"), status},
                                 {QStringLiteral("tabs"), tabList}});
    }
    const QVariantMap reg = registry();
    QJsonObject cardCounts;
    const QVariantMap cardMap = reg.value(QStringLiteral("cards")).toMap();
    for (auto it = cardMap.cbegin(); it != cardMap.cend(); ++it)
        cardCounts.insert(it.key(), it.value().toInt());
    const QJsonObject registryState{
        {QStringLiteral("chats"), QJsonArray::fromStringList(keysOf(reg, QStringLiteral("chats"), {}))},
        {QStringLiteral("multichats"),
         QJsonArray::fromStringList(keysOf(reg, QStringLiteral("multichats"), QStringLiteral("mc:")))},
        {QStringLiteral("randomChats"),
         QJsonArray::fromStringList(keysOf(reg, QStringLiteral("randomChats"), QStringLiteral("rc:")))},
        {QStringLiteral("cards"), cardCounts},
        {QStringLiteral("requestTabs"), reg.value(QStringLiteral("requestTabs")).toInt()}};
    return QJsonObject{{QStringLiteral("chats"), chats}, {QStringLiteral("registry"), registryState}};
}

} // namespace zubrel
