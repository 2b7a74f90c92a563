#include "zsmileyareareal.h"

#include "zmenuitem.h"
#include "zsmileyarea.h"

#include <QTimer>
#include <QVBoxLayout>

namespace zubrel {

ZSmileyAreaReal::ZSmileyAreaReal(QWidget *parent)
    : QFrame(parent, Qt::Popup)
{
    setFrameStyle(QFrame::StyledPanel);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_area = new ZSmileyArea(this);
    m_area->setFixedHeight(areaHeight);
    m_more = new ZMenuItem(this);
    m_more->setIcon(QStringLiteral(":/addsmiley-16"));
    m_more->setText(tr("Add an Emoticon... (F9)"));
    m_setup = new ZMenuItem(this);
    m_setup->setIcon(QStringLiteral(":/configure-16"));
    m_setup->setText(tr("Setup Smileys"));
    layout->addWidget(m_area);
    layout->addWidget(m_more);
    layout->addWidget(m_setup);

    connect(m_area, &ZSmileyArea::add, this, &ZSmileyAreaReal::slotMoreTimer);
    connect(m_area, &ZSmileyArea::clicked, this, &ZSmileyAreaReal::slotSmileyClicked);
    connect(m_area, &ZSmileyArea::hid, this, &QWidget::close);
    connect(m_more, &ZMenuItem::clicked, this, &ZSmileyAreaReal::slotMoreTimer);
    connect(m_setup, &ZMenuItem::clicked, this, &ZSmileyAreaReal::slotSetupTimer);
}

bool ZSmileyAreaReal::moreSmileys() const
{
    return m_moreVisible;
}

void ZSmileyAreaReal::setMoreSmileys(bool visible)
{
    // Kept apart from isVisible(): the popup is hidden most of the time.
    m_moreVisible = visible;
    m_more->setVisible(visible);
}

bool ZSmileyAreaReal::setupSmileys() const
{
    return m_setupVisible;
}

void ZSmileyAreaReal::setSetupSmileys(bool visible)
{
    m_setupVisible = visible;
    m_setup->setVisible(visible);
}

void ZSmileyAreaReal::slotSmileyClicked(const QString &shortcut, const QString &theme)
{
    emit clicked(shortcut, theme);
    close();
}

void ZSmileyAreaReal::slotMoreTimer()
{
    QTimer::singleShot(deferMs, this, &ZSmileyAreaReal::slotMore);
}

void ZSmileyAreaReal::slotMore()
{
    emit clicked(QStringLiteral("more"), QStringLiteral("default"));
    close();
}

void ZSmileyAreaReal::slotSetupTimer()
{
    QTimer::singleShot(deferMs, this, &ZSmileyAreaReal::slotSetup);
}

void ZSmileyAreaReal::slotSetup()
{
    emit clicked(QStringLiteral("setup"), QStringLiteral("default"));
    close();
}

void ZSmileyAreaReal::hideEvent(QHideEvent *event)
{
    QFrame::hideEvent(event);
    emit hid();
}

} // namespace zubrel
