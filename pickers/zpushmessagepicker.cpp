#include "zpushmessagepicker.h"

#include "zpushmessagearea.h"
#include "zpushmessageframe.h"
#include "pickersections.h"
#include "zsmileythemecache.h"

#include <QTimer>

namespace zubrel {

ZPushMessagePicker::ZPushMessagePicker(QWidget *parent)
    : QToolButton(parent)
{
    setCheckable(true);
    // The clips are registered now, as building the popup would have done.
    ZSmileyThemeCache::loadInstalled();
    connect(this, &QToolButton::clicked, this, &ZPushMessagePicker::slotPushMessages);
}

ZPushMessageAreaReal *ZPushMessagePicker::popup()
{
    if (m_popup)
        return m_popup;
    m_popup = new ZPushMessageAreaReal(this);
    m_popup->setMorePushMessages(true);
    m_popup->setSetupPushMessages(false);
    connect(m_popup.data(), &ZPushMessageAreaReal::hid, this, &ZPushMessagePicker::slotPopupClosed);
    connect(m_popup.data(), &ZPushMessageAreaReal::clicked, this, &ZPushMessagePicker::slotPushMessageClicked);
    return m_popup;
}

ZPushMessagePicker::~ZPushMessagePicker()
{
    // The popup is our child; its hide on destruction must not call back
    // into a half-destroyed button.
    if (m_popup)
        m_popup->disconnect(this);
}

void ZPushMessagePicker::slotPushMessagesTimer()
{
    QTimer::singleShot(deferMs, this, &ZPushMessagePicker::slotPushMessages);
}

void ZPushMessagePicker::slotPushMessages()
{
    if (!isChecked()) {
        if (m_popup)
            m_popup->hide();
        return;
    }
    popup();
    m_popup->move(PickerSections::popupPosition(this, m_popup->sizeHint()));
    m_popup->area()->favoritesFrame()->setTheme(QStringLiteral("favorites"));
    m_popup->show();
}

void ZPushMessagePicker::slotPushMessageClicked(const QString &shortcut, const QString &theme)
{
    Q_UNUSED(theme);
    if (shortcut == QLatin1String("setup"))
        return;
    if (shortcut == QLatin1String("more")) {
        emit record();
        return;
    }
    emit pushMessage(shortcut);
}

void ZPushMessagePicker::slotPopupClosed()
{
    setChecked(false);
    update();
    if (window())
        window()->activateWindow();
}

} // namespace zubrel
