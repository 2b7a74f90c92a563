#include "zpushmessagearea.h"

#include "pickersections.h"
#include "zsmileytheme.h"

#include <QLayout>

namespace zubrel {

ZPushMessageArea::ZPushMessageArea(QWidget *parent)
    : QScrollArea(parent)
{
    m_content = PickerSections::makeList(this);
    QLayout *layout = m_content->layout();

    QStringList themes = ZSmileyTheme::themeNames(ZSmileyTheme::Kind::PushMessages);
    if (themes.removeAll(QStringLiteral("default")) > 0)
        m_default = addFrame(QStringLiteral("default"));
    for (const QString &theme : std::as_const(themes))
        addFrame(theme);

    // The saved push messages are read when the popup opens, not now.
    m_favorites = new ZPushMessageFrame(m_content);
    connect(m_favorites.data(), &ZPushMessageFrame::add, this, &ZPushMessageArea::add);
    connect(m_favorites.data(), &ZPushMessageFrame::clicked, this, &ZPushMessageArea::slotPushMessageClicked);
    connect(m_favorites.data(), &ZPushMessageFrame::hid, this, &ZPushMessageArea::hid);
    layout->addWidget(m_favorites);
    layout->addItem(new QSpacerItem(1, 1, QSizePolicy::Minimum, QSizePolicy::Expanding));
    setWidget(m_content);
}

ZPushMessageFrame *ZPushMessageArea::addFrame(const QString &theme)
{
    auto *frame = new ZPushMessageFrame(m_content);
    frame->setTheme(theme);
    connect(frame, &ZPushMessageFrame::clicked, this, &ZPushMessageArea::slotPushMessageClicked);
    m_content->layout()->addWidget(frame);
    return frame;
}

QList<ZPushMessageFrame *> ZPushMessageArea::frames() const
{
    return m_content->findChildren<ZPushMessageFrame *>(Qt::FindDirectChildrenOnly);
}

void ZPushMessageArea::slotPushMessageClicked(const QString &shortcut, const QString &theme)
{
    emit clicked(shortcut, theme);
}

} // namespace zubrel
