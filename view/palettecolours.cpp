#include "palettecolours.h"

#include <QPalette>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace zubrel {

namespace {

// Text needs this much lightness between it and the background.
constexpr int minimumContrast = 110;

int baseLightness(const QPalette &palette)
{
    return palette.color(QPalette::Base).lightness();
}

QColor withLightness(const QColor &colour, int lightness)
{
    const QColor hsl = colour.toHsl();
    return QColor::fromHsl(hsl.hslHue(), hsl.hslSaturation(), qBound(0, lightness, 255), colour.alpha());
}

} // namespace

bool PaletteColours::isDark(const QPalette &palette)
{
    return baseLightness(palette) < 128;
}

QColor PaletteColours::band(const QColor &colour, const QPalette &palette)
{
    if (!isDark(palette) || !colour.isValid())
        return colour;
    // Its distance below white becomes a distance above the base; the tint
    // is kept but muted, a saturated dark band would glare.
    const QColor hsl = colour.toHsl();
    const int lightness = baseLightness(palette) + (255 - hsl.lightness()) * 3 / 2 + 12;
    return QColor::fromHsl(hsl.hslHue(), hsl.hslSaturation() * 2 / 5, qBound(0, lightness, 255), colour.alpha());
}

QColor PaletteColours::text(const QColor &colour, const QPalette &palette)
{
    if (!isDark(palette) || !colour.isValid())
        return colour;
    // Colours that already stand out from the base stay as they are.
    const int base = baseLightness(palette);
    if (qAbs(colour.lightness() - base) >= minimumContrast)
        return colour;
    return withLightness(colour, qMax(255 - colour.lightness(), base + minimumContrast));
}

void PaletteColours::adaptDocument(QTextDocument *document, const QPalette &palette)
{
    if (!isDark(palette))
        return;
    struct Change
    {
        int from;
        int length;
        QTextCharFormat format;
    };
    QList<Change> changes;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const QTextCharFormat format = fragment.charFormat();
            QTextCharFormat change;
            if (format.hasProperty(QTextFormat::ForegroundBrush) && format.foreground().style() == Qt::SolidPattern)
                change.setForeground(text(format.foreground().color(), palette));
            if (format.hasProperty(QTextFormat::BackgroundBrush) && format.background().style() == Qt::SolidPattern)
                change.setBackground(band(format.background().color(), palette));
            if (!change.properties().isEmpty())
                changes.append({fragment.position(), fragment.length(), change});
        }
    }
    // Merging does not move fragments' positions, so the list stays valid.
    for (const Change &change : changes) {
        QTextCursor cursor(document);
        cursor.setPosition(change.from);
        cursor.setPosition(change.from + change.length, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(change.format);
    }
}

} // namespace zubrel
