#pragma once
// Lays out and paints single entries of the message view. Header bands are
// drawn directly from the template's colours and icons; only bodies go
// through a QTextDocument, and only for entries that are looked at, kept in
// a small least-recently-used cache.

#include "headertext.h"
#include "messageviewmodel.h"

#include <QFont>
#include <QPalette>
#include <unordered_map>
#include <QImage>
#include <QRect>

#include <list>
#include <memory>

class QPainter;
class QTextDocument;

namespace zubrel {

class MessageLayout
{
public:
    // Where the parts of one entry lie, relative to the entry's top left.
    struct Geometry
    {
        QRect band;        // header band or notice frame; empty for continuations
        QRect icon;
        QRect alias;
        QRect time;
        QRect dots;        // continuation marker
        QPoint bodyOrigin; // top left of the body document
        int bodyWidth = 0;
        int height = 0;
    };
    // A selected stretch of one entry's body, in document positions; `header`
    // when the selection covers the header band too.
    struct Selection
    {
        int from = 0;
        int to = 0;
        bool header = false;
        bool active = false;
    };

    MessageLayout();
    ~MessageLayout();

    void setWidth(int width);
    int width() const { return m_width; }
    void setPlain(bool plain);
    bool isPlain() const { return m_plain; }
    // Colours are painted for this palette (see PaletteColours); a change
    // between light and dark lays the bodies out again.
    void setPalette(const QPalette &palette);
    // Changes whenever all measured heights become estimates (width, mode).
    unsigned generation() const { return m_generation; }
    void invalidate();
    void clearCache();
    // Entries were placed before the first: cached documents keep theirs.
    void shiftCache(int by);

    // The body document of an entry at the current width and mode.
    QTextDocument *document(int index, MessageEntry &entry);
    // Lays the entry out and returns its full height; fills its plain text.
    int measure(int index, MessageEntry &entry);
    // A height guessed from the body's length, without laying it out; the
    // entry is measured when it comes into sight.
    int estimate(const MessageEntry &entry) const;
    Geometry geometry(const MessageEntry &entry, int bodyHeight) const;
    QString bodyHtml(const MessageEntry &entry) const;
    void paint(QPainter &painter, int index, MessageEntry &entry, const QPalette &palette,
               const Selection &selection);

    // Document position nearest to a point relative to the entry's top left;
    // -1 above the body (the header band).
    int positionAt(int index, MessageEntry &entry, const QPoint &local);
    QString anchorAt(int index, MessageEntry &entry, const QPoint &local);
    // The line box of a document position relative to the entry's top left;
    // -1 is the header band (or the continuation marker).
    QRect cursorRect(int index, MessageEntry &entry, int position);
    QString imageAt(int index, MessageEntry &entry, const QPoint &local);
    // The picture at a point when it is shown scaled down to fit, at its
    // full size; an empty picture otherwise.
    QImage fullPictureAt(int index, MessageEntry &entry, const QPoint &local);
    // The ordinal-th picture of the body relative to the entry's top left.
    QRect imageRect(int index, MessageEntry &entry, int ordinal);

    // Pictures shared by all views (icons, emoticons, push links), with a
    // drawn stand-in for the module's own icons when a resource is missing.
    static QImage image(const QString &name);
    // The same picture drawn at twice its size (<name>@2x) for a device with
    // more than one pixel to the point, when there is one.
    static QImage sharpImage(const QString &name, qreal devicePixelRatio);

private:
    int m_width = 400;
    bool m_plain = false;
    QPalette m_palette;
    unsigned m_generation = 1;
    QFont m_font;
    QFont m_bold;
    HeaderText m_headerText;
    struct Cached
    {
        std::unique_ptr<QTextDocument> document;
        std::list<int>::iterator order;
    };
    std::unordered_map<int, Cached> m_cache;
    std::list<int> m_order; // most recently used first
};

} // namespace zubrel
