#include "artwork.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

namespace zubrel::themes {

namespace {

const QColor ink(60, 35, 10);
const QColor outline(120, 80, 20);

void head(QPainter &p, const QColor &colour, double dy = 0)
{
    QRadialGradient g(QPointF(9, 8 + dy), 14);
    g.setColorAt(0, colour.lighter(130));
    g.setColorAt(1, colour.darker(110));
    p.setBrush(g);
    p.setPen(QPen(outline, 1));
    p.drawEllipse(QRectF(1.5, 1.5 + dy, 21, 21));
}

void eyes(QPainter &p, Eyes kind, double dy)
{
    p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(ink);
    const QPointF l(8.5, 9.5 + dy);
    const QPointF r(15.5, 9.5 + dy);
    switch (kind) {
    case Eyes::Dots:
        p.drawEllipse(l, 1.3, 2);
        p.drawEllipse(r, 1.3, 2);
        break;
    case Eyes::Happy:
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(6.5, 8.5 + dy, 4, 4), 0, 180 * 16);
        p.drawArc(QRectF(13.5, 8.5 + dy, 4, 4), 0, 180 * 16);
        break;
    case Eyes::Wink:
        p.drawEllipse(l, 1.3, 2);
        p.drawLine(QPointF(13.5, 10 + dy), QPointF(17.5, 10 + dy));
        break;
    case Eyes::Wide:
        p.setBrush(Qt::white);
        p.setPen(QPen(ink, 1));
        p.drawEllipse(l, 2.5, 2.8);
        p.drawEllipse(r, 2.5, 2.8);
        p.setBrush(ink);
        p.drawEllipse(l, 1, 1.2);
        p.drawEllipse(r, 1, 1.2);
        break;
    case Eyes::Shades:
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(QColor(20, 20, 30));
        p.drawRoundedRect(QRectF(4, 7.5 + dy, 7, 4.5), 1.5, 1.5);
        p.drawRoundedRect(QRectF(13, 7.5 + dy, 7, 4.5), 1.5, 1.5);
        p.drawLine(QPointF(11, 8.5 + dy), QPointF(13, 8.5 + dy));
        break;
    case Eyes::Hearts:
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(220, 30, 60));
        for (const QPointF &c : {l, r}) {
            QPainterPath h;
            h.moveTo(c + QPointF(0, 2.5));
            h.cubicTo(c + QPointF(-4, -0.5), c + QPointF(-1.5, -3.5), c + QPointF(0, -1));
            h.cubicTo(c + QPointF(1.5, -3.5), c + QPointF(4, -0.5), c + QPointF(0, 2.5));
            p.drawPath(h);
        }
        break;
    case Eyes::Cross:
        for (const QPointF &c : {l, r}) {
            p.drawLine(c + QPointF(-1.8, -1.8), c + QPointF(1.8, 1.8));
            p.drawLine(c + QPointF(-1.8, 1.8), c + QPointF(1.8, -1.8));
        }
        break;
    case Eyes::Closed:
        p.drawLine(QPointF(6.5, 10 + dy), QPointF(10.5, 10 + dy));
        p.drawLine(QPointF(13.5, 10 + dy), QPointF(17.5, 10 + dy));
        break;
    case Eyes::Up:
        p.setBrush(Qt::white);
        p.setPen(QPen(ink, 1));
        p.drawEllipse(l, 2.3, 2.6);
        p.drawEllipse(r, 2.3, 2.6);
        p.setBrush(ink);
        p.drawEllipse(l + QPointF(0, -1.4), 1, 1);
        p.drawEllipse(r + QPointF(0, -1.4), 1, 1);
        break;
    case Eyes::Angry:
        p.drawEllipse(l + QPointF(0, 0.8), 1.2, 1.5);
        p.drawEllipse(r + QPointF(0, 0.8), 1.2, 1.5);
        p.drawLine(QPointF(5.5, 6 + dy), QPointF(10.5, 8 + dy));
        p.drawLine(QPointF(18.5, 6 + dy), QPointF(13.5, 8 + dy));
        break;
    case Eyes::Glasses:
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::black, 1.2));
        p.drawEllipse(l, 3, 3);
        p.drawEllipse(r, 3, 3);
        p.drawLine(QPointF(11.5, 9.5 + dy), QPointF(12.5, 9.5 + dy));
        p.setBrush(ink);
        p.drawEllipse(l, 0.9, 0.9);
        p.drawEllipse(r, 0.9, 0.9);
        break;
    case Eyes::Spiral:
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(ink, 1));
        for (const QPointF &c : {l, r}) {
            p.drawEllipse(c, 2.5, 2.5);
            p.drawEllipse(c, 1.2, 1.2);
        }
        break;
    }
}

void mouth(QPainter &p, Mouth kind, double dy)
{
    p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    switch (kind) {
    case Mouth::Smile:
        p.drawArc(QRectF(6.5, 8 + dy, 11, 9), 200 * 16, 140 * 16);
        break;
    case Mouth::Grin:
    case Mouth::Laugh: {
        QPainterPath m;
        m.moveTo(6, 13.5 + dy);
        m.lineTo(18, 13.5 + dy);
        m.cubicTo(17.5, 20 + dy, 6.5, 20 + dy, 6, 13.5 + dy);
        p.setBrush(QColor(150, 30, 30));
        p.drawPath(m);
        if (kind == Mouth::Laugh) {
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(7, 13.8 + dy, 10, 1.5));
        }
        break;
    }
    case Mouth::Sad:
        p.drawArc(QRectF(7, 15 + dy, 10, 7), 30 * 16, 120 * 16);
        break;
    case Mouth::O:
        p.setBrush(QColor(150, 30, 30));
        p.drawEllipse(QPointF(12, 16.5 + dy), 2.3, 2.8);
        break;
    case Mouth::Tongue:
        p.drawLine(QPointF(7, 15 + dy), QPointF(17, 15 + dy));
        p.setPen(QPen(QColor(170, 40, 60), 1));
        p.setBrush(QColor(240, 100, 120));
        p.drawChord(QRectF(10, 12 + dy, 6, 8), 180 * 16, 180 * 16);
        break;
    case Mouth::Flat:
        p.drawLine(QPointF(8, 16 + dy), QPointF(16, 16 + dy));
        break;
    case Mouth::Kiss:
        p.setPen(QPen(QColor(200, 30, 60), 1.6));
        p.drawArc(QRectF(10, 13 + dy, 4, 3), 270 * 16, 180 * 16);
        p.drawArc(QRectF(10, 16 + dy, 4, 3), 270 * 16, 180 * 16);
        break;
    case Mouth::Teeth:
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(6.5, 13.5 + dy, 11, 4.5), 1.5, 1.5);
        p.setPen(QPen(ink, 0.8));
        p.drawLine(QPointF(6.5, 15.75 + dy), QPointF(17.5, 15.75 + dy));
        for (double x = 9.25; x < 17; x += 2.75)
            p.drawLine(QPointF(x, 13.5 + dy), QPointF(x, 18 + dy));
        break;
    case Mouth::Wavy: {
        QPainterPath m;
        m.moveTo(7, 16 + dy);
        m.cubicTo(9, 14 + dy, 10, 18 + dy, 12, 16 + dy);
        m.cubicTo(14, 14 + dy, 15, 18 + dy, 17, 16 + dy);
        p.drawPath(m);
        break;
    }
    case Mouth::Smirk:
        p.drawArc(QRectF(9, 10 + dy, 9, 7), 240 * 16, 100 * 16);
        break;
    case Mouth::Shout:
        p.setBrush(QColor(150, 30, 30));
        p.drawRoundedRect(QRectF(8, 13.5 + dy, 8, 6), 2.5, 2.5);
        break;
    case Mouth::Zip:
        p.drawLine(QPointF(7, 16 + dy), QPointF(17, 16 + dy));
        p.setPen(QPen(ink, 0.8));
        for (double x = 8; x < 17; x += 2)
            p.drawLine(QPointF(x, 15 + dy), QPointF(x, 17 + dy));
        break;
    }
}

void extras(QPainter &p, int set, double dy, int frame)
{
    p.setPen(Qt::NoPen);
    if (set & Blush) {
        p.setBrush(QColor(250, 120, 120, 160));
        p.drawEllipse(QPointF(5.5, 14 + dy), 2, 1.3);
        p.drawEllipse(QPointF(18.5, 14 + dy), 2, 1.3);
    }
    if (set & Tear) {
        p.setBrush(QColor(70, 150, 240));
        const double t = (frame % 4) * 2.2;
        p.drawEllipse(QPointF(7, 13 + t + dy), 1.2, 1.7);
        p.drawEllipse(QPointF(17, 13 + ((frame + 2) % 4) * 2.2 + dy), 1.2, 1.7);
    }
    if (set & Sweat) {
        p.setBrush(QColor(110, 180, 250));
        p.drawEllipse(QPointF(19.5, 6 + dy), 1.6, 2.2);
    }
    if (set & Halo) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(250, 220, 60), 1.5));
        p.drawEllipse(QRectF(6, 0.5, 12, 3));
    }
    if (set & Horns) {
        p.setBrush(QColor(170, 20, 20));
        p.drawPolygon(QPolygonF({QPointF(4, 6), QPointF(3, 0), QPointF(8, 3.5)}));
        p.drawPolygon(QPolygonF({QPointF(20, 6), QPointF(21, 0), QPointF(16, 3.5)}));
    }
    if (set & Zzz) {
        p.setPen(QPen(QColor(60, 90, 200), 1.2));
        p.drawPolyline(QPolygonF({QPointF(16, 1), QPointF(20, 1), QPointF(16, 5), QPointF(20, 5)}));
    }
    if (set & Question) {
        p.setPen(QPen(QColor(40, 80, 200), 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(17, 0.5, 5, 5), -90 * 16, 270 * 16);
        p.drawLine(QPointF(19.5, 5.5), QPointF(19.5, 7));
    }
}

void animalParts(QPainter &p, const Face &s)
{
    p.setPen(QPen(outline, 1));
    p.setBrush(s.colour.darker(105));
    if (s.extras & CatEars) {
        p.drawPolygon(QPolygonF({QPointF(3, 9), QPointF(3.5, 0.5), QPointF(10, 4)}));
        p.drawPolygon(QPolygonF({QPointF(21, 9), QPointF(20.5, 0.5), QPointF(14, 4)}));
    }
    if (s.extras & BearEars) {
        p.drawEllipse(QPointF(5, 4), 3.5, 3.5);
        p.drawEllipse(QPointF(19, 4), 3.5, 3.5);
    }
    if (s.extras & BunnyEars) {
        p.drawEllipse(QRectF(5.5, -3, 4.5, 11));
        p.drawEllipse(QRectF(14, -3, 4.5, 11));
    }
}

} // namespace

QImage render(const Painter &paint, int frame, int scale)
{
    QImage image(canvas * scale, canvas * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    paint(p, frame);
    p.end();
    return image;
}

Painter face(const Face &style)
{
    return [style](QPainter &p, int frame) {
        animalParts(p, style);
        head(p, style.colour);
        if (style.extras & Snout) {
            p.setPen(QPen(outline, 0.8));
            p.setBrush(style.colour.lighter(120));
            p.drawEllipse(QPointF(12, 15), 4.5, 3.5);
        }
        if (style.extras & Whiskers) {
            p.setPen(QPen(ink, 0.6));
            p.drawLine(QPointF(2, 13), QPointF(7, 14));
            p.drawLine(QPointF(2, 16), QPointF(7, 15));
            p.drawLine(QPointF(22, 13), QPointF(17, 14));
            p.drawLine(QPointF(22, 16), QPointF(17, 15));
        }
        eyes(p, style.eyes, 0);
        mouth(p, style.mouth, 0);
        extras(p, style.extras, 0, frame);
    };
}

Painter winkingFace()
{
    return [](QPainter &p, int frame) {
        head(p, QColor(255, 210, 60));
        eyes(p, frame == 1 ? Eyes::Wink : Eyes::Dots, 0);
        mouth(p, frame == 1 ? Mouth::Smirk : Mouth::Smile, 0);
    };
}

Painter cryingFace()
{
    return [](QPainter &p, int frame) {
        head(p, QColor(255, 210, 60));
        eyes(p, Eyes::Closed, 0);
        mouth(p, Mouth::Sad, 0);
        extras(p, Tear, 0, frame);
    };
}

Painter laughingFace()
{
    return [](QPainter &p, int frame) {
        const double dy = (frame % 2) ? -1.0 : 0.5;
        p.translate(0, dy);
        head(p, QColor(255, 210, 60));
        eyes(p, Eyes::Happy, 0);
        mouth(p, Mouth::Laugh, 0);
        extras(p, frame % 2 ? Tear : NoExtra, 0, 0);
    };
}

Painter beatingHeart()
{
    return [](QPainter &p, int frame) {
        static const double scales[] = {0.8, 0.95, 1.0, 0.9};
        p.translate(12, 12);
        p.scale(scales[frame % 4], scales[frame % 4]);
        p.translate(-12, -12);
        object(QStringLiteral("heart"))(p, 0);
    };
}

Painter object(const QString &name)
{
    return [name](QPainter &p, int) {
        QPainterPath heart;
        heart.moveTo(12, 21);
        heart.cubicTo(1, 13, 2, 3, 12, 7);
        heart.cubicTo(22, 3, 23, 13, 12, 21);
        p.setPen(QPen(QColor(120, 10, 30), 1));
        if (name == QLatin1String("heart")) {
            p.setBrush(QColor(225, 30, 60));
            p.drawPath(heart);
        } else if (name == QLatin1String("brokenheart")) {
            p.setBrush(QColor(160, 30, 60));
            p.drawPath(heart);
            p.setPen(QPen(Qt::white, 1.5));
            p.drawPolyline(QPolygonF({QPointF(12, 7), QPointF(10, 11), QPointF(14, 14), QPointF(11, 19)}));
        } else if (name == QLatin1String("star") || name == QLatin1String("sun")) {
            const bool sun = name == QLatin1String("sun");
            QPolygonF star;
            for (int i = 0; i < (sun ? 16 : 10); ++i) {
                const double r = (i % 2) ? (sun ? 8 : 4.5) : 11;
                const double a = M_PI * i / (sun ? 8 : 5) - M_PI / 2;
                star << QPointF(12 + r * std::cos(a), 12 + r * std::sin(a));
            }
            p.setPen(QPen(QColor(200, 120, 0), 1));
            p.setBrush(QColor(255, sun ? 170 : 215, 0));
            p.drawPolygon(star);
            if (sun)
                p.drawEllipse(QPointF(12, 12), 6, 6);
        } else if (name == QLatin1String("moon")) {
            QPainterPath m;
            m.addEllipse(QPointF(12, 12), 9, 9);
            QPainterPath cut;
            cut.addEllipse(QPointF(16, 9), 8, 8);
            p.setPen(QPen(QColor(150, 130, 40), 1));
            p.setBrush(QColor(250, 230, 120));
            p.drawPath(m.subtracted(cut));
        } else if (name == QLatin1String("rain")) {
            p.setPen(QPen(QColor(90, 100, 120), 1));
            p.setBrush(QColor(170, 180, 200));
            p.drawEllipse(QRectF(3, 5, 10, 8));
            p.drawEllipse(QRectF(9, 3, 12, 10));
            p.setPen(QPen(QColor(50, 120, 230), 1.5, Qt::SolidLine, Qt::RoundCap));
            for (double x : {6.0, 11.0, 16.0})
                p.drawLine(QPointF(x, 15), QPointF(x - 1.5, 20));
        } else if (name == QLatin1String("flower")) {
            p.setPen(QPen(QColor(30, 120, 30), 1.5));
            p.drawLine(QPointF(12, 12), QPointF(12, 23));
            p.setPen(QPen(QColor(150, 20, 60), 0.8));
            p.setBrush(QColor(230, 60, 110));
            for (int i = 0; i < 5; ++i) {
                const double a = 2 * M_PI * i / 5;
                p.drawEllipse(QPointF(12 + 4.5 * std::cos(a), 9 + 4.5 * std::sin(a)), 3.2, 3.2);
            }
            p.setBrush(QColor(250, 220, 60));
            p.drawEllipse(QPointF(12, 9), 2.5, 2.5);
        } else if (name == QLatin1String("coffee") || name == QLatin1String("beer")) {
            const bool beer = name == QLatin1String("beer");
            p.setPen(QPen(QColor(80, 50, 20), 1.2));
            p.setBrush(beer ? QColor(240, 180, 30) : QColor(250, 250, 250));
            p.drawRoundedRect(QRectF(4, 7, 12, 14), 2, 2);
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(13, 10, 7, 7), -90 * 16, 180 * 16);
            p.setPen(Qt::NoPen);
            p.setBrush(beer ? QColor(255, 255, 255) : QColor(110, 60, 20));
            p.drawRect(QRectF(5, beer ? 5.5 : 8, 10, beer ? 3 : 2.5));
            if (!beer) {
                p.setPen(QPen(QColor(150, 150, 150), 1));
                p.drawLine(QPointF(8, 5), QPointF(9, 2));
                p.drawLine(QPointF(12, 5), QPointF(13, 2));
            }
        } else if (name == QLatin1String("cake") || name == QLatin1String("gift")) {
            const bool cake = name == QLatin1String("cake");
            p.setPen(QPen(QColor(100, 50, 60), 1));
            p.setBrush(cake ? QColor(250, 200, 220) : QColor(60, 140, 220));
            p.drawRect(QRectF(3, 11, 18, 10));
            p.setBrush(cake ? QColor(140, 70, 40) : QColor(230, 50, 60));
            if (cake) {
                p.drawRect(QRectF(3, 15, 18, 2));
                p.setBrush(QColor(250, 250, 200));
                p.drawRect(QRectF(11, 5, 2, 6));
                p.setBrush(QColor(255, 160, 0));
                p.drawEllipse(QPointF(12, 3.5), 1.2, 1.8);
            } else {
                p.drawRect(QRectF(10.5, 11, 3, 10));
                p.drawRect(QRectF(2, 8, 20, 3));
                p.drawEllipse(QRectF(6, 4, 6, 4));
                p.drawEllipse(QRectF(12, 4, 6, 4));
            }
        } else if (name == QLatin1String("thumbsup") || name == QLatin1String("thumbsdown")) {
            if (name == QLatin1String("thumbsdown")) {
                p.translate(0, 24);
                p.scale(1, -1);
            }
            p.setPen(QPen(QColor(140, 90, 20), 1));
            p.setBrush(QColor(255, 205, 90));
            p.drawRoundedRect(QRectF(8, 10, 11, 11), 2, 2);
            p.drawRoundedRect(QRectF(9, 2, 4.5, 10), 2, 2);
            p.setBrush(QColor(60, 110, 200));
            p.drawRect(QRectF(3, 10, 5, 12));
        } else if (name == QLatin1String("music")) {
            p.setPen(QPen(QColor(40, 40, 80), 1.8));
            p.drawLine(QPointF(9, 18), QPointF(9, 4));
            p.drawLine(QPointF(19, 15), QPointF(19, 2));
            p.drawLine(QPointF(9, 4), QPointF(19, 2));
            p.setBrush(QColor(40, 40, 80));
            p.drawEllipse(QPointF(6.5, 18.5), 3, 2.3);
            p.drawEllipse(QPointF(16.5, 15.5), 3, 2.3);
        } else if (name == QLatin1String("phone")) {
            p.setPen(QPen(QColor(30, 30, 30), 1));
            p.setBrush(QColor(50, 60, 70));
            p.drawRoundedRect(QRectF(6, 1.5, 12, 21), 2.5, 2.5);
            p.setBrush(QColor(130, 200, 250));
            p.drawRect(QRectF(7.5, 4, 9, 13));
            p.setBrush(QColor(200, 200, 200));
            p.drawEllipse(QPointF(12, 19.5), 1.3, 1.3);
        } else if (name == QLatin1String("skull")) {
            p.setPen(QPen(QColor(90, 90, 90), 1));
            p.setBrush(QColor(240, 240, 235));
            p.drawEllipse(QRectF(3, 1.5, 18, 16));
            p.drawRect(QRectF(7, 14, 10, 7));
            p.setBrush(QColor(30, 30, 30));
            p.drawEllipse(QPointF(8.5, 9.5), 2.5, 3);
            p.drawEllipse(QPointF(15.5, 9.5), 2.5, 3);
            p.drawPolygon(QPolygonF({QPointF(12, 12.5), QPointF(10.8, 15), QPointF(13.2, 15)}));
            p.drawLine(QPointF(10, 17), QPointF(10, 21));
            p.drawLine(QPointF(14, 17), QPointF(14, 21));
        }
    };
}

} // namespace zubrel::themes
