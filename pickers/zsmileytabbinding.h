#pragma once
// Connects a chat tab to the emoticon machinery: the picker in its edit
// toolbar, the input's shortcut replacement and send conversion, emoticon
// sounds and the movie labels of input and view. One per tab, created on
// first use as a child of the tab; the tab's hooks lead here.
#include <QObject>
#include <QPointer>

namespace zubrel {

class TextToHtml;
class ZChatTab;
class ZSmileyPicker;
class ZSmileyViewOverlay;

class ZSmileyTabBinding : public QObject
{
    Q_OBJECT

public:
    static ZSmileyTabBinding *of(ZChatTab *tab);
    // Fills ZChatTab::hooks(); done once when the module is loaded.
    static void installHooks();
    // The picker wiring a tab makes when it builds its edit toolbar.
    static void connectPicker(ZChatTab *tab, ZSmileyPicker *picker);

    TextToHtml *converter() const { return m_convert; }
    ZSmileyPicker *picker() const;
    ZSmileyViewOverlay *viewOverlay() const { return m_view; }

private:
    explicit ZSmileyTabBinding(ZChatTab *tab);
    void sync();

    QPointer<ZChatTab> m_tab;
    TextToHtml *m_convert = nullptr;      // child of the input
    ZSmileyViewOverlay *m_view = nullptr; // child of the view
};

} // namespace zubrel
