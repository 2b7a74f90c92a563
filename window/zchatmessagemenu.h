#pragma once
// The chat window's Message menu: everything the message area offers by
// key, listed with its key, so a user without a mouse finds the keys and a
// user with one finds the functions. The entries act on the window's
// current tab; the keys themselves stay with the tab's controls (the menu
// shows them after a tab character instead of claiming them a second time),
// except "Go to Conversation", whose key is the menu's own.

#include <QKeySequence>
#include <QMenu>
#include <QPointer>

namespace zubrel {

class ZChat;
class ZChatTab;

class ZChatMessageMenu : public QMenu
{
    Q_OBJECT
public:
    explicit ZChatMessageMenu(ZChat *chat);

    // Texts, keys and visibility for the current tab.
    void refresh();
    // "Text<Tab>Key": a menu shows the part after the tab as the entry's
    // key, without the entry claiming the key from the focused widget.
    static QString withKey(const QString &text, const QKeySequence &key);

private:
    QAction *addEntry(const QString &text, void (*run)(ZChatTab *tab));

    QPointer<ZChat> m_chat;
    QAction *m_toInput = nullptr;
    QAction *m_toView = nullptr;
    QAction *m_find = nullptr;
    QAction *m_send = nullptr;
    QAction *m_font = nullptr;
    QAction *m_colour = nullptr;
    QAction *m_emoticon = nullptr;
    QAction *m_addEmoticon = nullptr;
    QAction *m_push = nullptr;
    QAction *m_sound = nullptr;
    QAction *m_spelling = nullptr;
};

} // namespace zubrel
