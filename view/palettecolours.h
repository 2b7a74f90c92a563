#pragma once
// The message templates' colours as shown under the widget's palette. The
// templates were drawn for a light window: under a light palette their
// colours stay exactly as they are; under a dark one each keeps its hue but
// its lightness is mirrored about the palette's base, so bands stay a shade
// off the background and text stays readable on it. The stored HTML is
// never changed, only what is painted.

#include <QColor>

class QPalette;
class QTextDocument;

namespace zubrel {

class PaletteColours
{
public:
    static bool isDark(const QPalette &palette);
    // A band (header or notice background) colour meant for a white window.
    static QColor band(const QColor &colour, const QPalette &palette);
    // A text colour meant for a white window.
    static QColor text(const QColor &colour, const QPalette &palette);
    // Text colours and backgrounds inside a laid-out body, in place; the
    // document's own default text is the palette's.
    static void adaptDocument(QTextDocument *document, const QPalette &palette);
};

} // namespace zubrel
