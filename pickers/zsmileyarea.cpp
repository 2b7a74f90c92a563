#include "zsmileyarea.h"

#include "pickersections.h"
#include "zsmileyframe.h"
#include "zsmileytheme.h"

#include <QLayout>

namespace zubrel {

ZSmileyArea::ZSmileyArea(QWidget *parent)
    : QScrollArea(parent)
{
    m_content = PickerSections::makeList(this);
    QLayout *layout = m_content->layout();

    QStringList themes = ZSmileyTheme::themeNames(ZSmileyTheme::Kind::Smileys);
    if (themes.removeAll(QStringLiteral("default")) > 0)
        m_default = addFrame(QStringLiteral("default"));
    for (const QString &theme : std::as_const(themes))
        addFrame(theme);

    // The favourites are read when the popup opens, not now.
    m_favorites = new ZSmileyFrame(m_content);
    connect(m_favorites.data(), &ZSmileyFrame::add, this, &ZSmileyArea::add);
    connect(m_favorites.data(), &ZSmileyFrame::clicked, this, &ZSmileyArea::slotSmileyClicked);
    connect(m_favorites.data(), &ZSmileyFrame::hid, this, &ZSmileyArea::hid);
    layout->addWidget(m_favorites);
    layout->addItem(new QSpacerItem(1, 1, QSizePolicy::Minimum, QSizePolicy::Expanding));
    setWidget(m_content);
}

ZSmileyFrame *ZSmileyArea::addFrame(const QString &theme)
{
    auto *frame = new ZSmileyFrame(m_content);
    frame->setTheme(theme);
    connect(frame, &ZSmileyFrame::clicked, this, &ZSmileyArea::slotSmileyClicked);
    m_content->layout()->addWidget(frame);
    return frame;
}

QList<ZSmileyFrame *> ZSmileyArea::frames() const
{
    return m_content->findChildren<ZSmileyFrame *>(Qt::FindDirectChildrenOnly);
}

void ZSmileyArea::slotSmileyClicked(const QString &shortcut, const QString &theme)
{
    emit clicked(shortcut, theme);
}

} // namespace zubrel
