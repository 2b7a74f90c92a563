// Draws the chat module's compiled-in pictures at build time: message
// template decorations, toolbar and menu icons, status icons, the lock
// animation and the recorder's level meter. Usage: gen_pictures <out-dir>.
// Every picture is drawn here with QPainter; nothing is copied from elsewhere.
#include <QDir>
#include <QFile>
#include <QTextStream>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <functional>

namespace {

QString outDir;

// Each picture is drawn twice: at its size, and at twice its size as
// <name>@2x for screens with two device pixels to the point, where Qt picks
// it instead of enlarging the first.
void save(const QString &name, QSize size, const std::function<void(QPainter &, QRectF)> &draw)
{
    for (const int scale : {1, 2}) {
        QImage image(size * scale, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.scale(scale, scale);
        draw(p, QRectF(QPointF(0, 0), QSizeF(size)));
        p.end();
        image.save(outDir + QLatin1Char('/') + name + (scale == 1 ? QString() : QStringLiteral("@2x")) + QStringLiteral(".png"));
    }
}

QColor shade(const QColor &c, int f) { return c.darker(f); }

// A round badge with a glyph: the common base of most toolbar icons.
void badge(const QString &name, int px, const QColor &color, const QString &glyph, qreal glyphScale = 0.55)
{
    save(name, {px, px}, [&](QPainter &p, QRectF r) {
        const QRectF c = r.adjusted(1, 1, -1, -1);
        QRadialGradient g(c.center() - QPointF(c.width() / 5, c.height() / 5), c.width() * 0.7);
        g.setColorAt(0, color.lighter(150));
        g.setColorAt(1, color);
        p.setPen(QPen(shade(color, 140), 1));
        p.setBrush(g);
        p.drawEllipse(c);
        if (!glyph.isEmpty()) {
            QFont f(QStringLiteral("DejaVu Sans"));
            f.setBold(true);
            f.setPixelSize(int(px * glyphScale));
            p.setFont(f);
            p.setPen(Qt::white);
            p.drawText(r, Qt::AlignCenter, glyph);
        }
    });
}

void letterIcon(const QString &name, int px, const QString &text, bool bold, bool italic, bool underline,
                const QColor &color = QColor(40, 40, 40), qreal scale = 0.75)
{
    save(name, {px, px}, [&](QPainter &p, QRectF r) {
        QFont f(QStringLiteral("DejaVu Serif"));
        f.setPixelSize(int(px * scale));
        f.setBold(bold);
        f.setItalic(italic);
        f.setUnderline(underline);
        p.setFont(f);
        p.setPen(color);
        p.drawText(r, Qt::AlignCenter, text);
    });
}

// A speech bubble in a colour: the marker at the start of a message header.
void bubble(const QString &name, const QColor &color, const std::function<void(QPainter &, QRectF)> &extra = {})
{
    save(name, {16, 16}, [&](QPainter &p, QRectF) {
        QPainterPath path;
        path.addRoundedRect(QRectF(1, 2, 14, 9), 3, 3);
        path.moveTo(4, 10);
        path.lineTo(3, 14);
        path.lineTo(8, 10);
        p.setPen(QPen(shade(color, 150), 1));
        p.setBrush(color);
        p.drawPath(path.simplified());
        if (extra)
            extra(p, QRectF(1, 2, 14, 9));
    });
}

void lockFrame(int frame)
{
    // Frame 1 open ... 7 closed: the shackle swings down onto the body.
    save(QStringLiteral("lock%1-24").arg(frame), {24, 24}, [&](QPainter &p, QRectF) {
        const qreal t = (frame - 1) / 6.0;
        const QColor body = QColor::fromRgbF(0.55 + 0.35 * t, 0.6 - 0.1 * t, 0.2, 1);
        p.setPen(QPen(QColor(90, 90, 90), 2.4, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        const qreal lift = 5 * (1 - t);
        const qreal shift = 5 * (1 - t);
        QPainterPath shackle;
        shackle.moveTo(7 + shift, 12 - lift);
        shackle.lineTo(7 + shift, 8 - lift);
        shackle.arcTo(QRectF(7 + shift, 2 - lift, 10, 12), 180, -180);
        shackle.lineTo(17 + shift, 12 - lift);
        p.drawPath(shackle);
        p.setPen(QPen(shade(body, 150), 1));
        p.setBrush(body);
        p.drawRoundedRect(QRectF(4, 11, 16, 11), 2, 2);
        p.setBrush(QColor(60, 40, 20));
        p.drawEllipse(QPointF(12, 16), 1.6, 1.6);
    });
}

void arrow(const QString &name, bool up, bool right, bool hover)
{
    save(name, {74, 16}, [&](QPainter &p, QRectF r) {
        QLinearGradient g(0, 0, 0, 16);
        g.setColorAt(0, hover ? QColor(236, 244, 255) : QColor(246, 246, 246));
        g.setColorAt(1, hover ? QColor(190, 214, 245) : QColor(214, 214, 214));
        p.setPen(QPen(QColor(170, 170, 170), 1));
        p.setBrush(g);
        p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
        QPolygonF tri;
        const qreal cx = right ? 52 : 22;
        if (up)
            tri << QPointF(cx - 6, 11) << QPointF(cx + 6, 11) << QPointF(cx, 4);
        else
            tri << QPointF(cx - 6, 5) << QPointF(cx + 6, 5) << QPointF(cx, 12);
        p.setPen(Qt::NoPen);
        p.setBrush(hover ? QColor(40, 100, 190) : QColor(90, 90, 90));
        p.drawPolygon(tri);
        // The sideways hint: which panel the button folds away.
        p.drawRect(QRectF(right ? 62 : 8, 6, 4, 4));
    });
}

void levelMeter(int level)
{
    save(QStringLiteral("streamlevel%1").arg(level), {80, 12}, [&](QPainter &p, QRectF) {
        for (int i = 0; i < 7; ++i) {
            const QColor on = i < 4 ? QColor(70, 180, 70) : i < 6 ? QColor(230, 180, 40) : QColor(210, 60, 50);
            p.setPen(Qt::NoPen);
            p.setBrush(i < level ? on : QColor(200, 200, 200));
            p.drawRoundedRect(QRectF(1 + i * 11.2, 2, 9, 8), 1.5, 1.5);
        }
    });
}

void drawStatus(const QString &name, int px, int status)
{
    static const QColor colors[] = {QColor(150, 150, 150), QColor(60, 170, 60), QColor(235, 170, 30),
                                    QColor(215, 120, 20), QColor(200, 50, 40), QColor(150, 30, 30),
                                    QColor(200, 200, 220)};
    static const char *glyphs[] = {"", "", "z", "zz", "!", "\u2013", ""};
    badge(name, px, colors[status], QString::fromUtf8(glyphs[status]), status == 3 ? 0.4 : 0.6);
}

void face(const QString &name, int px, const QColor &color, bool wink)
{
    save(name, {px, px}, [&](QPainter &p, QRectF r) {
        const qreal s = px / 24.0;
        p.setPen(QPen(QColor(150, 110, 0), s));
        p.setBrush(color);
        p.drawEllipse(r.adjusted(s, s, -s, -s));
        p.setBrush(QColor(60, 40, 0));
        p.drawEllipse(QPointF(8.5 * s, 9.5 * s), 1.5 * s, 2 * s);
        if (wink)
            p.drawLine(QPointF(14 * s, 9.5 * s), QPointF(17.5 * s, 9.5 * s));
        else
            p.drawEllipse(QPointF(15.5 * s, 9.5 * s), 1.5 * s, 2 * s);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(60, 40, 0), 1.5 * s, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(6.5 * s, 8 * s, 11 * s, 9 * s), 200 * 16, 140 * 16);
    });
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2)
        return 1;
    outDir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(outDir);

    // Message template decorations.
    save(QStringLiteral("blank"), {1, 4}, [](QPainter &, QRectF) {});
    save(QStringLiteral("msg_dots"), {40, 6}, [](QPainter &p, QRectF) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(190, 190, 190));
        for (int i = 0; i < 5; ++i)
            p.drawEllipse(QPointF(22 + i * 4, 3), 1, 1);
    });
    bubble(QStringLiteral("msg_orange"), QColor(245, 150, 40));
    bubble(QStringLiteral("msg_blue"), QColor(70, 130, 210));
    bubble(QStringLiteral("msg_white"), QColor(250, 250, 250));
    save(QStringLiteral("msg_mobile"), {16, 16}, [](QPainter &p, QRectF) {
        p.setPen(QPen(QColor(40, 70, 120), 1));
        p.setBrush(QColor(70, 130, 210));
        p.drawRoundedRect(QRectF(4.5, 1.5, 7, 13), 1.5, 1.5);
        p.setBrush(QColor(220, 235, 255));
        p.drawRect(QRectF(5.5, 3, 5, 7));
        p.drawEllipse(QPointF(8, 12.3), 0.9, 0.9);
    });
    badge(QStringLiteral("msg_notify"), 16, QColor(70, 130, 210), QStringLiteral("i"), 0.7);
    badge(QStringLiteral("msg_error"), 16, QColor(200, 60, 40), QStringLiteral("!"), 0.7);
    badge(QStringLiteral("msg_blocked"), 16, QColor(140, 40, 30), QStringLiteral("\u00d7"), 0.8);
    save(QStringLiteral("pushaudio-36"), {36, 36}, [](QPainter &p, QRectF) {
        p.setPen(QPen(QColor(30, 90, 160), 1.5));
        p.setBrush(QColor(90, 150, 220));
        p.drawRoundedRect(QRectF(2, 2, 32, 32), 7, 7);
        p.setBrush(Qt::white);
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygonF({QPointF(8, 14), QPointF(13, 14), QPointF(19, 8), QPointF(19, 28),
                                 QPointF(13, 22), QPointF(8, 22)}));
        p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(17, 12, 8, 12), -60 * 16, 120 * 16);
        p.drawArc(QRectF(15, 8, 14, 20), -60 * 16, 120 * 16);
    });

    // Window toolbar (32) and chat actions.
    badge(QStringLiteral("addmulti-32"), 32, QColor(60, 150, 80), QStringLiteral("+"), 0.8);
    badge(QStringLiteral("exit-32"), 32, QColor(190, 60, 50), QStringLiteral("\u00d7"), 0.8);
    badge(QStringLiteral("infocenter-32"), 32, QColor(70, 110, 180), QStringLiteral("i"), 0.65);
    badge(QStringLiteral("format_disabled-32"), 32, QColor(150, 150, 150), QStringLiteral("A"));
    badge(QStringLiteral("format_enabled-32"), 32, QColor(200, 120, 30), QStringLiteral("A"));
    badge(QStringLiteral("log_on-32"), 32, QColor(80, 140, 90), QStringLiteral("\u270e"));
    badge(QStringLiteral("log_off-32"), 32, QColor(120, 120, 120), QStringLiteral("\u2205"));
    badge(QStringLiteral("earthquake-32"), 32, QColor(160, 110, 60), QStringLiteral("\u2248"), 0.7);
    badge(QStringLiteral("slideshow-32"), 32, QColor(100, 80, 170), QStringLiteral("\u25b6"));
    badge(QStringLiteral("screenshot-32"), 32, QColor(60, 120, 140), QStringLiteral("\u25a3"));
    badge(QStringLiteral("chat-32"), 32, QColor(70, 130, 210), QStringLiteral("\u2026"));
    badge(QStringLiteral("multichat-32"), 32, QColor(50, 150, 170), QStringLiteral("\u2237"));
    badge(QStringLiteral("profile-32"), 32, QColor(120, 100, 160), QStringLiteral("P"));
    badge(QStringLiteral("delete-32"), 32, QColor(170, 60, 60), QStringLiteral("\u2212"), 0.8);
    badge(QStringLiteral("zubrel_me-48"), 48, QColor(60, 110, 190), QStringLiteral("me"), 0.4);
    badge(QStringLiteral("multichat-logo"), 48, QColor(50, 150, 170), QStringLiteral("\u2237"));
    face(QStringLiteral("fuckyou-32"), 32, QColor(240, 120, 90), true);

    // Edit and font toolbars (24).
    letterIcon(QStringLiteral("text-24"), 24, QStringLiteral("A"), false, false, false, QColor(30, 80, 160));
    letterIcon(QStringLiteral("text_reset-24"), 24, QStringLiteral("A\u21ba"), false, false, false, QColor(40, 40, 40), 0.5);
    letterIcon(QStringLiteral("bold-24"), 24, QStringLiteral("B"), true, false, false);
    letterIcon(QStringLiteral("italic-24"), 24, QStringLiteral("I"), false, true, false);
    letterIcon(QStringLiteral("underline-24"), 24, QStringLiteral("U"), false, false, true);
    letterIcon(QStringLiteral("abc-24"), 24, QStringLiteral("abc"), true, false, true, QColor(170, 40, 40), 0.42);
    save(QStringLiteral("color-24"), {24, 24}, [](QPainter &p, QRectF) {
        const QColor cs[] = {QColor(220, 50, 50), QColor(240, 190, 30), QColor(60, 170, 70), QColor(50, 110, 210)};
        for (int i = 0; i < 4; ++i) {
            p.setPen(Qt::NoPen);
            p.setBrush(cs[i]);
            p.drawPie(QRectF(2, 2, 20, 20), i * 90 * 16, 90 * 16);
        }
    });
    save(QStringLiteral("sound_on-24"), {24, 24}, [](QPainter &p, QRectF) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 60, 60));
        p.drawPolygon(QPolygonF({QPointF(3, 9), QPointF(8, 9), QPointF(13, 4), QPointF(13, 20), QPointF(8, 15),
                                 QPointF(3, 15)}));
        p.setPen(QPen(QColor(60, 60, 60), 1.8, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(11, 8, 6, 8), -60 * 16, 120 * 16);
        p.drawArc(QRectF(10, 4, 11, 16), -60 * 16, 120 * 16);
    });
    save(QStringLiteral("sound_off-24"), {24, 24}, [](QPainter &p, QRectF) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(120, 120, 120));
        p.drawPolygon(QPolygonF({QPointF(3, 9), QPointF(8, 9), QPointF(13, 4), QPointF(13, 20), QPointF(8, 15),
                                 QPointF(3, 15)}));
        p.setPen(QPen(QColor(200, 50, 40), 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(15, 9), QPointF(21, 15));
        p.drawLine(QPointF(21, 9), QPointF(15, 15));
    });
    face(QStringLiteral("smilie-24"), 24, QColor(255, 215, 60), false);
    save(QStringLiteral("megaphone-24"), {24, 24}, [](QPainter &p, QRectF) {
        p.setPen(QPen(QColor(150, 60, 20), 1));
        p.setBrush(QColor(235, 120, 40));
        p.drawPolygon(QPolygonF({QPointF(3, 10), QPointF(8, 10), QPointF(19, 4), QPointF(19, 20), QPointF(8, 14),
                                 QPointF(3, 14)}));
        p.setBrush(QColor(90, 90, 90));
        p.drawRect(QRectF(6, 14, 3, 6));
    });
    badge(QStringLiteral("pushmessage-24"), 24, QColor(235, 120, 40), QStringLiteral("\u266a"));
    save(QStringLiteral("pushmessage_arrow"), {10, 32}, [](QPainter &p, QRectF) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(90, 90, 90));
        p.drawPolygon(QPolygonF({QPointF(2, 14), QPointF(8, 14), QPointF(5, 19)}));
    });
    save(QStringLiteral("toolbar_sub_left"), {42, 30}, [](QPainter &p, QRectF r) {
        QLinearGradient g(0, 0, 42, 0);
        g.setColorAt(0, QColor(205, 220, 240));
        g.setColorAt(1, QColor(240, 240, 240, 0));
        p.fillRect(r, g);
    });
    for (bool up : {true, false})
        for (bool right : {true, false})
            for (bool hover : {false, true})
                arrow(QStringLiteral("toolbar_arrow_%1_%2_%3")
                          .arg(up ? "top" : "down", right ? "right" : "left", hover ? "hover" : "normal"),
                      up, right, hover);
    for (int i = 1; i <= 7; ++i)
        lockFrame(i);
    for (int i = 0; i <= 7; ++i)
        levelMeter(i);

    // Small (16) icons of pickers, recorder and dialogs.
    badge(QStringLiteral("addsmiley-16"), 16, QColor(60, 150, 80), QStringLiteral("+"), 0.8);
    badge(QStringLiteral("configure-16"), 16, QColor(110, 110, 110), QStringLiteral("\u2699"), 0.75);
    badge(QStringLiteral("darrow_left-16"), 16, QColor(90, 120, 170), QStringLiteral("\u00ab"), 0.8);
    badge(QStringLiteral("darrow_right-16"), 16, QColor(90, 120, 170), QStringLiteral("\u00bb"), 0.8);
    badge(QStringLiteral("darrow_start-16"), 16, QColor(90, 120, 170), QStringLiteral("\u21e4"), 0.8);
    badge(QStringLiteral("filter_details-16"), 16, QColor(120, 120, 160), QStringLiteral("\u2261"), 0.8);
    badge(QStringLiteral("filter_groups-16"), 16, QColor(120, 140, 120), QStringLiteral("\u2237"), 0.8);
    badge(QStringLiteral("filter_offline-16"), 16, QColor(150, 150, 150), QStringLiteral("\u25cb"), 0.8);
    badge(QStringLiteral("play-16"), 16, QColor(60, 150, 80), QStringLiteral("\u25b6"), 0.6);
    badge(QStringLiteral("play_stop-16"), 16, QColor(190, 60, 50), QStringLiteral("\u25a0"), 0.6);
    badge(QStringLiteral("record_message-16"), 16, QColor(210, 40, 40), QStringLiteral("\u25cf"), 0.6);
    badge(QStringLiteral("search-16"), 16, QColor(90, 120, 170), QStringLiteral("\u2315"), 0.8);
    badge(QStringLiteral("undo-16"), 16, QColor(110, 110, 110), QStringLiteral("\u21b6"), 0.8);
    save(QStringLiteral("header_open"), {12, 12}, [](QPainter &p, QRectF) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(90, 90, 90));
        p.drawPolygon(QPolygonF({QPointF(2, 4), QPointF(10, 4), QPointF(6, 9)}));
    });
    save(QStringLiteral("header_closed"), {12, 12}, [](QPainter &p, QRectF) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(90, 90, 90));
        p.drawPolygon(QPolygonF({QPointF(4, 2), QPointF(4, 10), QPointF(9, 6)}));
    });

    // Contact status icons.
    const char *statusNames[] = {"offline", "online", "away", "exaway", "busy", "dnd", "invis"};
    for (int s = 0; s < 7; ++s) {
        drawStatus(QStringLiteral("%1-32").arg(statusNames[s]), 32, s);
        drawStatus(QStringLiteral("%1-24").arg(statusNames[s]), 24, s);
    }
    drawStatus(QStringLiteral("exway-32"), 32, 3);

    // The resource list: every picture under ":/<name>".
    QFile qrc(outDir + QStringLiteral("/zubrel.qrc"));
    if (!qrc.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 2;
    QTextStream out(&qrc);
    out << "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n  <qresource prefix=\"/\">\n";
    const QStringList files = QDir(outDir).entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name);
    for (const QString &file : files)
        out << "    <file alias=\"" << file.chopped(4) << "\">" << file << "</file>\n";
    out << "  </qresource>\n</RCC>\n";
    return 0;
}
