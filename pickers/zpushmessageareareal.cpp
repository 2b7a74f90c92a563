#include "zpushmessageareareal.h"

#include "zmenuitem.h"
#include "zpushmessagearea.h"

#include <QTimer>
#include <QVBoxLayout>

namespace zubrel {

ZPushMessageAreaReal::ZPushMessageAreaReal(QWidget *parent)
    : QFrame(parent, Qt::Popup)
{
    setFrameStyle(QFrame::StyledPanel);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_area = new ZPushMessageArea(this);
    m_area->setFixedHeight(areaHeight);
    m_more = new ZMenuItem(this);
    m_more->setIcon(QStringLiteral(":/record_message-16"));
    m_more->setText(tr("Record Push Message (F2)"));
    m_setup = new ZMenuItem(this);
    m_setup->setIcon(QStringLiteral(":/configure-16"));
    m_setup->setText(tr("Setup Push Messages"));
    layout->addWidget(m_area);
    layout->addWidget(m_more);
    layout->addWidget(m_setup);

    connect(m_area, &ZPushMessageArea::add, this, &ZPushMessageAreaReal::slotMoreTimer);
    connect(m_area, &ZPushMessageArea::clicked, this, &ZPushMessageAreaReal::slotPushMessageClicked);
    connect(m_area, &ZPushMessageArea::hid, this, &QWidget::close);
    connect(m_more, &ZMenuItem::clicked, this, &ZPushMessageAreaReal::slotMoreTimer);
    connect(m_setup, &ZMenuItem::clicked, this, &ZPushMessageAreaReal::slotSetupTimer);
}

void ZPushMessageAreaReal::setMorePushMessages(bool visible)
{
    // Kept apart from isVisible(): the popup is hidden most of the time.
    m_moreVisible = visible;
    m_more->setVisible(visible);
}

void ZPushMessageAreaReal::setSetupPushMessages(bool visible)
{
    m_setupVisible = visible;
    m_setup->setVisible(visible);
}

void ZPushMessageAreaReal::slotPushMessageClicked(const QString &shortcut, const QString &theme)
{
    emit clicked(shortcut, theme);
    close();
}

void ZPushMessageAreaReal::slotMoreTimer()
{
    QTimer::singleShot(deferMs, this, &ZPushMessageAreaReal::slotMore);
}

void ZPushMessageAreaReal::slotMore()
{
    emit clicked(QStringLiteral("more"), QStringLiteral("default"));
    close();
}

void ZPushMessageAreaReal::slotSetupTimer()
{
    QTimer::singleShot(deferMs, this, &ZPushMessageAreaReal::slotSetup);
}

void ZPushMessageAreaReal::slotSetup()
{
    emit clicked(QStringLiteral("setup"), QStringLiteral("default"));
    close();
}

void ZPushMessageAreaReal::hideEvent(QHideEvent *event)
{
    QFrame::hideEvent(event);
    emit hid();
}

} // namespace zubrel
