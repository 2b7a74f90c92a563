#include "zchatmessagemenu.h"

#include "findbar.h"
#include "qtcolorpicker.h"
#include "zchat.h"
#include "zchattab.h"
#include "zmessageview.h"
#include "ztextedit.h"

#include <QAction>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

namespace zubrel {

namespace {
bool shown(QWidget *control)
{
    return control && control->parentWidget() && control->isVisibleTo(control->parentWidget());
}
} // namespace

QString ZChatMessageMenu::withKey(const QString &text, const QKeySequence &key)
{
    return key.isEmpty() ? text : text + u'\t' + key.toString(QKeySequence::NativeText);
}

ZChatMessageMenu::ZChatMessageMenu(ZChat *chat)
    : QMenu(tr("&Message"), chat)
    , m_chat(chat)
{
    setObjectName(QStringLiteral("messageMenu"));
    m_toInput = addEntry(tr("Go to Message Input"), [](ZChatTab *tab) { tab->input->setFocus(Qt::ShortcutFocusReason); });
    m_toView = addEntry(tr("Go to Conversation"), [](ZChatTab *tab) { tab->view->setFocus(Qt::ShortcutFocusReason); });
    m_toView->setShortcut(QKeySequence(Qt::Key_F7));
    m_find = addEntry(tr("Find in Conversation"), [](ZChatTab *tab) {
        if (auto *bar = tab->view->findChild<FindBar *>())
            bar->open();
    });
    addSeparator();
    m_send = addEntry(tr("Send Message"), [](ZChatTab *tab) { tab->sendButton()->click(); });
    m_font = addEntry(tr("Font Settings"), [](ZChatTab *tab) { tab->fontAction()->trigger(); });
    m_colour = addEntry(tr("Font Color"), [](ZChatTab *tab) { tab->colorPicker()->click(); });
    m_emoticon = addEntry(tr("Insert Emoticon"), [](ZChatTab *tab) { tab->smileyButton()->click(); });
    m_addEmoticon = addEntry(tr("Add Emoticon"), [](ZChatTab *tab) { tab->addSmiley(); });
    m_push = addEntry(tr("Record Push Message"), [](ZChatTab *tab) { tab->pushMessageButton()->click(); });
    m_sound = addEntry(tr("Mute Sounds"), [](ZChatTab *tab) { tab->soundAction()->trigger(); });
    m_spelling = addEntry(tr("Spelling"), [](ZChatTab *tab) { tab->spellingButton()->showMenu(); });
    connect(this, &QMenu::aboutToShow, this, &ZChatMessageMenu::refresh);
    refresh();
}

QAction *ZChatMessageMenu::addEntry(const QString &text, void (*run)(ZChatTab *tab))
{
    QAction *entry = addAction(text);
    entry->setData(text);
    connect(entry, &QAction::triggered, this, [this, run] {
        if (ZChatTab *tab = m_chat ? m_chat->currentTab() : nullptr)
            run(tab);
    });
    return entry;
}

void ZChatMessageMenu::refresh()
{
    ZChatTab *tab = m_chat ? m_chat->currentTab() : nullptr;
    const auto set = [](QAction *entry, const QKeySequence &key, bool visible = true) {
        entry->setText(withKey(entry->data().toString(), key));
        entry->setVisible(visible);
    };
    set(m_toInput, QKeySequence(Qt::Key_F6));
    set(m_find, QKeySequence::Find);
    set(m_send, QKeySequence(Qt::Key_Return));
    set(m_addEmoticon, QKeySequence(Qt::Key_F9));
    if (!tab) {
        for (QAction *entry : {m_font, m_colour, m_emoticon, m_push, m_sound, m_spelling})
            set(entry, {});
        return;
    }
    // What the tab hides (for other networks, random chats, a missing
    // spelling library) is hidden here too.
    set(m_font, tab->fontAction()->shortcut(), tab->fontAction()->isVisible());
    set(m_colour, tab->colorPicker()->shortcut(), shown(tab->colorPicker()));
    set(m_emoticon, tab->smileyButton()->shortcut(), shown(tab->smileyButton()));
    set(m_push, tab->pushMessageButton()->shortcut(), shown(tab->pushMessageButton()));
    m_sound->setData(tab->isSoundOn() ? tr("Mute Sounds") : tr("Play Sounds"));
    set(m_sound, tab->soundAction()->shortcut());
    set(m_spelling, tab->spellingButton()->shortcut(), shown(tab->spellingButton()));
    m_addEmoticon->setVisible(shown(tab->smileyButton()));
}

} // namespace zubrel
