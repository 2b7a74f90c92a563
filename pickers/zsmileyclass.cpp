#include "zsmileyclass.h"

#include "palettecolours.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>

namespace zubrel {

ZSmileyClass::ZSmileyClass(QWidget *parent)
    : QFrame(parent)
{
    setFrameShape(QFrame::NoFrame);
    setFixedHeight(headerHeight);
    setAutoFillBackground(true);
    QPalette pal = palette();
    // The theme tint of a light window; a dark palette gets its dark counterpart.
    pal.setColor(QPalette::Window, PaletteColours::band(QColor(QStringLiteral("#eef7fe")), pal));
    setPalette(pal);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->setSpacing(2);
    m_arrow = new QLabel(this);
    m_arrow->setFixedWidth(20);
    m_text = new QLabel(this);
    layout->addWidget(m_arrow);
    layout->addWidget(m_text, 1);
    setOpen(true);
}

QString ZSmileyClass::text() const
{
    return m_text->text();
}

void ZSmileyClass::setText(const QString &text)
{
    m_text->setText(text);
}

void ZSmileyClass::setOpen(bool open)
{
    m_open = open;
    m_arrow->setPixmap(QPixmap(open ? QStringLiteral(":/header_open") : QStringLiteral(":/header_closed")));
}

void ZSmileyClass::mousePressEvent(QMouseEvent *event)
{
    QFrame::mousePressEvent(event);
    emit clicked();
    setOpen(!m_open);
}

} // namespace zubrel
