#include "zsmileytabbinding.h"

#include "texttohtml.h"
#include "zchattab.h"
#include "zmessageview.h"
#include "zsmileyoverlay.h"
#include "zsmileypicker.h"
#include "zsmileyviewoverlay.h"
#include "ztextedit.h"

namespace zubrel {

ZSmileyTabBinding::ZSmileyTabBinding(ZChatTab *tab)
    : QObject(tab)
    , m_tab(tab)
    , m_convert(new TextToHtml(tab->input))
    , m_view(new ZSmileyViewOverlay(tab->view))
{
    setObjectName(QStringLiteral("smileyBinding"));
    m_convert->setPicker(picker());
    m_convert->setTypingSoundHook([tab = QPointer<ZChatTab>(tab)](bool allowed) {
        if (tab)
            tab->setTypingSoundAllowed(allowed);
    });
    m_convert->setTypingFormatHook([tab = QPointer<ZChatTab>(tab)] {
        if (tab)
            tab->applyToolbarFormat();
    });
}

ZSmileyTabBinding *ZSmileyTabBinding::of(ZChatTab *tab)
{
    if (!tab)
        return nullptr;
    auto *binding = tab->findChild<ZSmileyTabBinding *>(QStringLiteral("smileyBinding"),
                                                        Qt::FindDirectChildrenOnly);
    return binding ? binding : new ZSmileyTabBinding(tab);
}

ZSmileyPicker *ZSmileyTabBinding::picker() const
{
    return m_tab ? qobject_cast<ZSmileyPicker *>(m_tab->smileyButton()) : nullptr;
}

void ZSmileyTabBinding::sync()
{
    if (!m_tab)
        return;
    m_convert->setPicker(picker());
    m_convert->setOtherNetwork(m_tab->isOtherNetwork());
    m_convert->setSoundEnabled(m_tab->isSoundOn());
}

void ZSmileyTabBinding::connectPicker(ZChatTab *tab, ZSmileyPicker *picker)
{
    QObject::connect(picker, &ZSmileyPicker::smiley, tab, &ZChatTab::slotInsertSmiley);
    QObject::connect(tab, &ZChatTab::smileyAddRequested, picker, &ZSmileyPicker::addSmiley);
    QObject::connect(tab, &ZChatTab::favoritesEnabledChanged, picker, &ZSmileyPicker::setFavoritesEnabled);
}

void ZSmileyTabBinding::installHooks()
{
    ZChatTab::Hooks &hooks = ZChatTab::hooks();
    hooks.convertForSend = [](ZChatTab *tab) {
        ZSmileyTabBinding *binding = of(tab);
        binding->sync();
        return binding->m_convert->sendHtml();
    };
    hooks.replaceWhileTyping = [](ZChatTab *tab) {
        ZSmileyTabBinding *binding = of(tab);
        binding->sync();
        binding->m_convert->replaceEmoticonShortcuts(true);
    };
    hooks.insertSmiley = [](ZChatTab *tab, const QString &picture) {
        of(tab)->m_convert->slotInsertSmiley(picture);
    };
    hooks.placeViewEmoticons = [](ZChatTab *tab, const QString &entryHtml) {
        of(tab)->m_view->addEntry(tab->view->entryCount() - 1, entryHtml);
    };
    hooks.playEmoticonSounds = [](ZChatTab *tab, const QString &html) {
        ZSmileyTabBinding *binding = of(tab);
        binding->sync();
        binding->m_convert->playEmoticonSounds(html);
    };
    hooks.moveInputWidgets = [](ZChatTab *tab) { of(tab)->m_convert->overlay()->slotMoveWidgets(); };
    hooks.moveViewWidgets = [](ZChatTab *tab) { of(tab)->m_view->slotMoveWidgets(); };
    hooks.viewCleared = [](ZChatTab *tab) { of(tab)->m_view->clear(); };
    // The input's labels follow the document's own change reports.
    hooks.inputRangeRemoved = nullptr;
}

namespace {
void installOnLoad()
{
    ZSmileyTabBinding::installHooks();
}
} // namespace
Q_CONSTRUCTOR_FUNCTION(installOnLoad)

} // namespace zubrel
