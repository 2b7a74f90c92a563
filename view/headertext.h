#pragma once
// The sender and time in an entry's header band. QPainter::drawText shapes
// its text again on every call, and a conversation repeats the same few
// names and times; each text is shaped once here and drawn from its layout
// just where drawText would place it.

#include "boundedcache.h"

#include <QString>

#include <memory>

class QFont;
class QPainter;
class QRect;
class QTextLayout;

namespace zubrel {

class HeaderText
{
public:
    HeaderText();
    ~HeaderText();

    // As painter.drawText(rect, Qt::AlignVCenter | horizontal, text) with
    // the painter's font, which must be the one `fontTag` names.
    void draw(QPainter &painter, const QRect &rect, Qt::Alignment horizontal, int fontTag, const QString &text);
    // As QFontMetrics(font).elidedText(text, Qt::ElideRight, width).
    QString elided(const QFont &font, int fontTag, const QString &text, int width);
    void clear();

private:
    BoundedCache<QString, std::shared_ptr<QTextLayout>> m_layouts;
    BoundedCache<QString, QString> m_elided;
};

} // namespace zubrel
