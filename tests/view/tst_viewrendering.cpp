// What the message view puts on screen: on a device with two pixels to the
// point its pictures come from their sharp @2x sources instead of being
// enlarged, and under a dark palette the templates' bands and texts stay
// readable while both stores keep the templates' exact HTML.

#include "headertext.h"
#include "messagetemplates.h"
#include "steadyscrollbar.h"
#include "zmessageview.h"
#include "zsmileytheme.h"

#include <QHash>
#include <QSet>
#include <QPainter>
#include <QStyleOptionSlider>
#include <QTest>
#include <algorithm>

using namespace zubrel;

namespace {
const QDateTime t0(QDate(2024, 3, 7), QTime(14, 0, 0));

// Largest channel difference between `source` laid over `background` and
// the shot at `at` (device pixels), at the best of a few neighbouring
// places: text layout may put a picture half a point off.
int difference(const QImage &shot, QPoint at, const QImage &source, QColor background)
{
    int best = 256;
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) {
            int worst = 0;
            for (int y = 0; y < source.height() && worst < best; ++y) {
                for (int x = 0; x < source.width(); ++x) {
                    const QPoint p = at + QPoint(x + dx, y + dy);
                    if (!shot.rect().contains(p)) {
                        worst = 256;
                        break;
                    }
                    const QColor s = source.pixelColor(x, y);
                    const QColor d = shot.pixelColor(p);
                    const auto over = [&](int sc, int bc) { return (sc * s.alpha() + bc * (255 - s.alpha())) / 255; };
                    worst = std::max({worst, qAbs(over(s.red(), background.red()) - d.red()),
                                  qAbs(over(s.green(), background.green()) - d.green()),
                                  qAbs(over(s.blue(), background.blue()) - d.blue())});
                }
            }
            best = qMin(best, worst);
        }
    }
    return best;
}

// The most frequent colour of an area (its background) and the lightness
// distance of the pixel that stands out most from it (its text).
QPair<QColor, int> backgroundAndContrast(const QImage &shot, const QRect &rect)
{
    QHash<QRgb, int> counts;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            ++counts[shot.pixel(x, y)];
    const auto most = std::max_element(counts.cbegin(), counts.cend());
    const QColor background = QColor::fromRgb(most.key());
    int contrast = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        contrast = qMax(contrast, qAbs(QColor::fromRgb(it.key()).lightness() - background.lightness()));
    return {background, contrast};
}

QPalette darkPalette()
{
    QPalette dark(QColor(0x2b, 0x2d, 0x30));
    dark.setColor(QPalette::Base, QColor(0x1e, 0x1f, 0x22));
    dark.setColor(QPalette::Text, QColor(0xe6, 0xe6, 0xe6));
    return dark;
}
} // namespace

class tst_ViewRendering : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(ZSmileyTheme::load(QStringLiteral("default")).isValid());
        for (const char *name : {":/smileys/default/smile.png", ":/smileys/default/smile@2x.png", ":/msg_blue", ":/msg_blue@2x"})
            QVERIFY2(!QImage(QString::fromLatin1(name)).isNull(), name);
    }

    // An emoticon in a body and the band's sender icon, compared with the
    // picture drawn for the screen's ratio. CTest runs this at
    // QT_SCALE_FACTOR 1 and 2 (tst_viewrendering_scale2).
    void sharpPictures()
    {
        ZMessageView view;
        view.resize(420, 240);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const qreal ratio = view.devicePixelRatio();
        const QString suffix = ratio > 1.0 ? QStringLiteral("@2x") : QString();
        view.appendIncoming(QStringLiteral("Hi <img src=\":/smileys/default/smile.png\"> there"), QStringLiteral("Anna"),
                            QStringLiteral("7"), t0, false, false);
        const QImage shot = view.grab().toImage();
        const QPoint origin = view.viewport()->pos();

        const QRect smiley = view.entryImageRect(0, 0);
        QVERIFY(!smiley.isNull());
        const QImage smileySource(QStringLiteral(":/smileys/default/smile%1.png").arg(suffix));
        QCOMPARE(smileySource.width(), qRound(24 * ratio));
        QVERIFY2(difference(shot, (smiley.topLeft() + origin) * ratio, smileySource, view.palette().color(QPalette::Base)) <= 24,
                 "the emoticon is not its source picture");

        // The sender icon sits at the band's left, on the incoming cell colour.
        const QImage iconSource(QStringLiteral(":/msg_blue") + suffix);
        const QRect entry = view.entryRect(0).translated(origin);
        int best = 256;
        for (int x = entry.left(); x < entry.left() + 40; ++x)
            best = qMin(best, difference(shot, QPoint(x, entry.top() + 4 + 1 + 2) * ratio, iconSource, QColor(0xdf, 0xed, 0xff)));
        QVERIFY2(best <= 24, qPrintable(QStringLiteral("sender icon differs by %1").arg(best)));
    }

    // A message with its header band and an error notice, under a light and
    // a dark palette: every area's text stands out from its background.
    void readableColours_data()
    {
        QTest::addColumn<bool>("dark");
        QTest::newRow("light") << false;
        QTest::newRow("dark") << true;
    }
    void readableColours()
    {
        QFETCH(bool, dark);
        ZMessageView view;
        ZMessageView reference;
        if (dark)
            view.setPalette(darkPalette());
        for (ZMessageView *v : {&view, &reference}) {
            v->resize(420, 240);
            v->appendIncoming(QStringLiteral("hello there"), QStringLiteral("Anna"), QStringLiteral("7"), t0, false, false);
            v->appendNotice(MessageTemplates::Error, QStringLiteral("The message could not be transmitted."), t0);
        }
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QCOMPARE(view.styledStore(), reference.styledStore());
        QCOMPARE(view.plainStore(), reference.plainStore());

        const QImage shot = view.grab().toImage();
        const qreal ratio = view.devicePixelRatio();
        const QPoint origin = view.viewport()->pos();
        const QRect message = view.entryRect(0).translated(origin);
        const QRect notice = view.entryRect(1).translated(origin);
        const auto device = [ratio](const QRect &r) {
            return QRect(r.topLeft() * ratio, r.size() * ratio);
        };
        const int inset = message.width() / 10;
        const QList<QPair<const char *, QRect>> areas = {
            {"header band", QRect(message.left() + inset, message.top() + 6, message.width() - 2 * inset, 18)},
            {"body", QRect(message.left() + inset, message.top() + 28, message.width() - 2 * inset, message.height() - 30)},
            {"notice", QRect(notice.left() + inset, notice.top() + 6, notice.width() - 2 * inset, notice.height() - 10)},
        };
        for (const auto &[name, rect] : areas) {
            const auto [background, contrast] = backgroundAndContrast(shot, device(rect));
            QVERIFY2(contrast >= 100, qPrintable(QStringLiteral("%1: text only %2 from its background %3")
                                                     .arg(QLatin1String(name)).arg(contrast).arg(background.name())));
            // Under a dark palette no area is a light patch.
            QVERIFY2(!dark || background.lightness() < 110, name);
        }
    }

    // Header texts shaped once come out exactly as drawText draws them:
    // names, times, clipped, elided, with tabs and right-to-left script.
    void headerTexts()
    {
        QFont font(QStringLiteral("Tahoma"));
        font.setPixelSize(12);
        HeaderText cache;
        const QString texts[] = {QStringLiteral("Anna"), QStringLiteral("08:15"),
                                 QStringLiteral("A sender whose name is far too long"), QStringLiteral("a\tb"),
                                 QString::fromUtf8("\xd7\xa9\xd7\x9c\xd7\x95\xd7\x9d")};
        for (int round = 0; round < 2; ++round) {
            for (const QString &text : texts) {
                for (const QRect &rect : {QRect(5, 3, 200, 20), QRect(5, 3, 40, 9)}) {
                    for (const Qt::Alignment align : {Qt::AlignLeft, Qt::AlignRight}) {
                        QImage expected(240, 30, QImage::Format_ARGB32_Premultiplied);
                        expected.fill(Qt::white);
                        QImage drawn = expected;
                        QPainter(&expected).drawText(rect, Qt::AlignVCenter | align, text);
                        QPainter painter(&drawn);
                        cache.draw(painter, rect, align, 0, text);
                        painter.end();
                        QVERIFY2(drawn == expected, qPrintable(text));
                        QCOMPARE(cache.elided(font, 0, text, rect.width()),
                                 QFontMetrics(font).elidedText(text, Qt::ElideRight, rect.width()));
                    }
                }
            }
            font = QFont(); // the painter's default font
        }
    }

    // At the end of a very long conversation the slider keeps its pixels
    // while the range grows, so nothing repaints it on each append.
    void sliderSteadyAtEnd()
    {
        SteadyScrollBar bar(Qt::Vertical);
        bar.resize(16, 416);
        bar.setPageStep(416);
        QSet<int> tops;
        for (int maximum = 4'000'000; maximum < 4'040'000; maximum += 37) {
            bar.setRange(0, maximum);
            bar.setValue(maximum);
            QStyleOptionSlider option;
            bar.initStyleOption(&option);
            tops << bar.style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, &bar).top();
        }
        QCOMPARE(tops.size(), 1);
    }
};

QTEST_MAIN(tst_ViewRendering)
#include "tst_viewrendering.moc"
