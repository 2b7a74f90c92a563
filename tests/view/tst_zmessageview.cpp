// The message view: grouping of consecutive messages, the two stores, the
// plain/styled switch, and the interaction a virtualised view has to get
// right by hand (selection, copy, links, scrolling to entries laid out late).

#include "pictureviewer.h"
#include "zdir.h"
#include "zmessageview.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

using namespace zubrel;

namespace {
const QDateTime t0(QDate(2024, 3, 7), QTime(14, 0, 0));

// A full entry starts with the 96% table, a continuation with the 95% one.
bool isContinuation(const QString &entry)
{
    return entry.startsWith(QStringLiteral("<center><table width=\"95%\""));
}
bool isHeader(const QString &entry)
{
    return entry.startsWith(QStringLiteral("<center><table width=\"96%\"")) && !entry.contains(u"%alias");
}
// Where the style draws the bar's thumb, from the bar's own style option.
QRect thumbRect(QScrollBar *bar)
{
    struct Probe : QScrollBar
    {
        using QScrollBar::initStyleOption;
    };
    // A pointer to QScrollBar's own member: calling it needs no cast of the
    // bar to a type it is not.
    const auto initStyleOption = &Probe::initStyleOption;
    QStyleOptionSlider option;
    (bar->*initStyleOption)(&option);
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, bar);
}
} // namespace

class tst_ZMessageView : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        // Long time forms follow the locale's date order.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    // Each row plays appends and names what each one became: H a full entry
    // with its header, C a continuation under the previous one, N a notice.
    // A step is kind:sender:seconds after t0 (i incoming, o own, p own push
    // clip, n notice, l log, m multi chat, M mobile multi chat).
    void grouping_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("lastSender");
        QTest::newRow("14:59 apart") << "i:bob:0 i:bob:899" << "HC" << "bob";
        QTest::newRow("15:00 apart") << "i:bob:0 i:bob:900" << "HH" << "bob";
        QTest::newRow("an hour apart") << "i:bob:0 i:bob:3600" << "HH" << "bob";
        QTest::newRow("same second") << "i:bob:0 i:bob:0" << "HC" << "bob";
        QTest::newRow("own message breaks an incoming group")
            << "i:bob:0 o:me:10 i:bob:20 o:me:30 o:me:40 o:me:940" << "HHHHCH" << "me";
        QTest::newRow("a notice keeps the group") << "i:bob:0 n::5 i:bob:10" << "HNC" << "bob";
        // The log keeps its own last sender and leaves the live grouping alone.
        QTest::newRow("log sender is separate")
            << "i:bob:0 l:bob:-259200 l:bob:-172800 l:me:-86400 i:bob:60" << "HHCHC" << "bob";
        QTest::newRow("multi chat has no time limit") << "m:ann:0 m:ann:18000 M:cid:18000" << "HCH" << "cid";
        // A push clip groups without a limit and does not move the deadline.
        QTest::newRow("own push clip") << "o:me:0 p:me:7200 o:me:7210" << "HCH" << "me";
        // An empty last sender (a new tab) is no "same sender" for an empty id.
        QTest::newRow("own without an id") << "o::0" << "H" << "";
        QTest::newRow("multi chat without an id") << "m::0" << "H" << "";
    }
    void grouping()
    {
        QFETCH(QString, steps);
        QFETCH(QString, expected);
        QFETCH(QString, lastSender);
        ZMessageView view;
        QString got;
        for (const QString &step : steps.split(u' ')) {
            const QStringList part = step.split(u':');
            const QString &id = part.at(1);
            const QDateTime at = t0.addSecs(part.at(2).toInt());
            QString entry;
            switch (part.at(0).at(0).toLatin1()) {
            case 'i': entry = view.appendIncoming("x", id, id, at, false, false); break;
            case 'o': entry = view.appendOwn("x", id, id, at); break;
            case 'p':
                entry = view.appendOwn(MessageTemplates::pushMessageEntry("/tmp/c.wav", "P", "S"), id, id, at, true);
                break;
            case 'n': view.appendNotice(MessageTemplates::Notify, "note", at); break;
            case 'l': entry = view.appendLog("x", id, id, at); break;
            default: entry = view.appendMultiChat("x", id, id, part.at(0) == u"M", at); break;
            }
            got += entry.isNull() ? u'N' : isHeader(entry) ? u'H' : isContinuation(entry) ? u'C' : u'?';
        }
        QCOMPARE(got, expected);
        QCOMPARE(view.lastSender(), lastSender);
        QCOMPARE(view.entryCount(), steps.count(u' ') + 1);
    }

    void offlineHeaderUsesLongForm()
    {
        ZMessageView view;
        const QString offline = view.appendIncoming("missed", "Bob", "bob", QDateTime(QDate(2023, 12, 24), QTime(18, 30, 5)),
                                                    true, false);
        QVERIFY(offline.contains(QStringLiteral("\">12/24/23 18:30:05</span></td>")));
        QVERIFY(view.plainText().startsWith(QStringLiteral("Bob 12/24/23 18:30:05\nmissed")));
        const QString online = view.appendIncoming("now", "Cid", "cid", QDateTime(QDate(2023, 12, 24), QTime(18, 31, 0)),
                                                   false, true);
        QVERIFY(online.contains(QStringLiteral("\">18:31</span></td>")));
        QVERIFY(online.contains(QStringLiteral(":/msg_mobile")));
    }

    void entryIsFilledTemplate()
    {
        ZMessageView view;
        const QString entry = view.appendIncoming("<b>hi</b>", "Bob", "bob", t0, false, false);
        QCOMPARE(entry, MessageTemplates::fill(MessageTemplates::header(MessageTemplates::Incoming), "Bob", "14:00",
                                               "3/7/24 14:00:00", "<b>hi</b>"));
        const QString next = view.appendIncoming("again", "Bob", "bob", t0.addSecs(1), false, false);
        QCOMPARE(next, MessageTemplates::fill(MessageTemplates::continuation(MessageTemplates::Incoming), "", "", "",
                                              "again"));
        const QString log = view.appendLog("old", "Bob", "bob", t0);
        QVERIFY(log.contains(QStringLiteral("\">3/7/24 14:00:00</span></td>")));
        QVERIFY(log.contains(QStringLiteral(":/msg_white")));
        QVERIFY(view.appendMultiChat("d", "Ann", "ann", false, t0).contains(QStringLiteral(":/msg_blue")));
    }

    void aliasIsEscaped()
    {
        ZMessageView view;
        const QString entry = view.appendIncoming("x", "<3 Ann & Co", "ann", t0, false, false);
        QVERIFY(entry.contains(QStringLiteral(">&lt;3 Ann &amp; Co</span>")));
        QVERIFY(view.plainText().startsWith(QStringLiteral("<3 Ann & Co 14:00")));
    }

    void plainStoreStripsStyledSpansOnly()
    {
        ZMessageView view;
        const QString html = QStringLiteral("<span style=\"color:#ff0000;\">red</span> <b>bold</b> <span>x</span>");
        const QString styled = view.appendIncoming(html, "Bob", "bob", t0, false, false);
        view.appendNotice(MessageTemplates::System, "plain notice", t0);
        QVERIFY(view.styledStore().startsWith(styled));
        QVERIFY(view.styledStore().contains(html));
        const QString plain = view.plainStore();
        QVERIFY(plain.contains(QStringLiteral("\">red <b>bold</b> <span>x</div>")));
        // The template's own spans stay in the plain form.
        QVERIFY(plain.contains(QStringLiteral("\">Bob</span></td>")));
        QVERIFY(plain.endsWith(MessageTemplates::fill(MessageTemplates::header(MessageTemplates::System), "", "14:00",
                                                      "3/7/24 14:00:00", "plain notice")));
        QCOMPARE(view.styledStore().size() - plain.size(), html.size() - QStringLiteral("red <b>bold</b> <span>x").size());
    }

    void setPlainRefillsView()
    {
        ZMessageView view;
        view.resize(400, 300);
        view.show();
        const QString html = QStringLiteral("<span style=\"font-weight:600;\">loud</span> words");
        view.appendIncoming(html, "Bob", "bob", t0, false, false);
        view.appendOwn(QStringLiteral("<span style=\"color:#0000ff;\">blue</span>"), "Me", "me", t0);
        QVERIFY(!view.isPlain());
        QVERIFY(view.entryBodyHtml(0).contains(html));
        QSignalSpy changed(&view, &ZMessageView::textChanged);
        view.setPlain(true);
        QVERIFY(view.isPlain());
        QCOMPARE(changed.count(), 1);
        QVERIFY(view.entryBodyHtml(0).contains(QStringLiteral(">loud words</div>")));
        QVERIFY(!view.entryBodyHtml(1).contains(QStringLiteral("#0000ff")));
        const QString text = view.plainText();
        view.setPlain(false);
        QVERIFY(view.entryBodyHtml(0).contains(html));
        QVERIFY(view.entryBodyHtml(1).contains(QStringLiteral("#0000ff")));
        QCOMPARE(view.plainText(), text);
        QVERIFY(!view.grab().isNull());
    }

    void clearViewEmptiesEverything()
    {
        ZMessageView view;
        view.resize(400, 300);
        view.show();
        for (int i = 0; i < 50; ++i)
            view.appendIncoming(QStringLiteral("line %1").arg(i), "Bob", "bob", t0, false, false);
        view.appendLog("old", "Bob", "bob", t0);
        view.selectAll();
        QVERIFY(view.hasSelection());
        QSignalSpy copyAvailable(&view, &ZMessageView::copyAvailable);
        view.clearView();
        QCOMPARE(view.entryCount(), 0);
        QVERIFY(view.styledStore().isEmpty());
        QVERIFY(view.plainStore().isEmpty());
        QVERIFY(view.plainText().isEmpty());
        QVERIFY(view.lastSender().isEmpty());
        QVERIFY(!view.hasSelection());
        QCOMPARE(copyAvailable.count(), 1);
        QCOMPARE(copyAvailable.at(0).at(0).toBool(), false);
        QCOMPARE(view.verticalScrollBar()->maximum(), 0);
        // Grouping starts over, for live and log messages alike.
        QVERIFY(isHeader(view.appendIncoming("again", "Bob", "bob", t0, false, false)));
        QVERIFY(isHeader(view.appendLog("old", "Bob", "bob", t0)));
    }

    void linkClickEmitsLinkActivated()
    {
        ZMessageView view;
        view.resize(500, 300);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.appendIncoming("before", "Bob", "bob", t0, false, false);
        view.appendOwn(MessageTemplates::pushMessageEntry("/tmp/clip 1.wav", "Play again", "Save as..."), "Me", "me", t0);
        const QRect icon = view.entryImageRect(1, 0);
        QVERIFY(!icon.isNull());
        QVERIFY(view.viewport()->rect().contains(icon.center()));
        QSignalSpy links(&view, &ZMessageView::linkActivated);
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, icon.center());
        QCOMPARE(links.count(), 1);
        const QUrl url = links.at(0).at(0).toUrl();
        QCOMPARE(url.scheme(), QStringLiteral("pushplay"));
        QCOMPARE(url.toString(QUrl::RemoveScheme), QStringLiteral("/tmp/clip 1.wav"));
        // A click beside the links activates nothing.
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(view.viewport()->width() - 5, icon.center().y()));
        QCOMPARE(links.count(), 1);
    }

    void selectAllCopiesWholeConversation()
    {
        ZMessageView view;
        view.resize(400, 200);
        view.show();
        for (int i = 0; i < 300; ++i)
            view.appendIncoming(QStringLiteral("message <b>%1</b>").arg(i), i % 2 ? "Ann" : "Bob", i % 2 ? "ann" : "bob",
                                t0.addSecs(i), false, false);
        view.appendNotice(MessageTemplates::Error, "could not send", t0);
        QSignalSpy copyAvailable(&view, &ZMessageView::copyAvailable);
        view.setFocus();
        QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(copyAvailable.count(), 1);
        QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
        const QString copied = QGuiApplication::clipboard()->text();
        QVERIFY(copied.startsWith(QStringLiteral("Bob 14:00\nmessage 0\nAnn 14:00\nmessage 1\n")));
        QVERIFY(copied.endsWith(QStringLiteral("Ann 14:04\nmessage 299\ncould not send")));
        for (int i = 0; i < 300; ++i)
            QVERIFY2(copied.contains(QStringLiteral("\nmessage %1\n").arg(i)), qPrintable(QString::number(i)));
        QCOMPARE(copied, view.plainText());
    }

    void dragSelectsWholeEntries()
    {
        ZMessageView view;
        view.resize(400, 400);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.appendIncoming("first", "Bob", "bob", t0, false, false);
        view.appendOwn("second", "Me", "me", t0);
        view.appendIncoming("third", "Bob", "bob", t0, false, false);
        view.appendNotice(MessageTemplates::System, "fourth", t0);
        const QRect from = view.entryRect(1);
        const QRect to = view.entryRect(2);
        QTest::mousePress(view.viewport(), Qt::LeftButton, {}, QPoint(10, from.top() + 1));
        QTest::mouseMove(view.viewport(), QPoint(10, to.bottom()));
        QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, QPoint(10, to.bottom()));
        QCOMPARE(view.selectedText(), QStringLiteral("Me 14:00\nsecond\nBob 14:00\nthird"));
        view.copy();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Me 14:00\nsecond\nBob 14:00\nthird"));
    }

    void doubleClickSelectsWordInEntry()
    {
        ZMessageView view;
        view.resize(400, 300);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.appendIncoming(QStringLiteral("<img src=\":/msg_error\">alpha beta gamma"), "Bob", "bob", t0, false, false);
        const QRect picture = view.entryImageRect(0, 0);
        QVERIFY(!picture.isNull());
        QCOMPARE(view.imageAt(picture.center()), QStringLiteral(":/msg_error"));
        QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, QPoint(picture.right() + 8, picture.center().y()));
        QCOMPARE(view.selectedText(), QStringLiteral("alpha"));
    }

    // Third click, Shift+keys and Shift+click; the selection then stays
    // put through an append, a narrower view, plain mode and a palette.
    void selectionByTripleClickAndKeysSurvivesChanges()
    {
        ZMessageView view;
        view.resize(400, 400);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.appendIncoming("alpha beta", "Bob", "bob", t0, false, false);
        view.appendOwn("gamma <img src=\":/msg_error\"> delta", "Me", "me", t0);
        view.appendIncoming("epsilon", "Bob", "bob", t0, false, false);
        const QRect second = view.entryRect(1);
        const QPoint inBody(second.left() + 20, second.bottom() - 6);
        QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, inBody);
        QTest::mousePress(view.viewport(), Qt::LeftButton, {}, inBody);
        QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, inBody);
        const QString entry = QStringLiteral("Me 14:00\ngamma  delta");
        QCOMPARE(view.selectedText(), entry);
        view.copy();
        QVERIFY(QGuiApplication::clipboard()->mimeData()->html().contains("<img src=\"data:image/png;base64,"));
        view.setFocus();
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(&view, Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(view.selectedText(), entry + "\nBob 14:00\ne");
        QTest::keyClick(&view, Qt::Key_Right, Qt::ShiftModifier | Qt::ControlModifier);
        QCOMPARE(view.selectedText(), entry + "\nBob 14:00\nepsilon");
        QTest::keyClick(&view, Qt::Key_Left, Qt::ShiftModifier | Qt::ControlModifier);
        QCOMPARE(view.selectedText(), entry + "\nBob 14:00\n");
        QTest::keyClick(&view, Qt::Key_Left, Qt::ShiftModifier);
        QTest::keyClick(&view, Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(view.selectedText(), entry);
        QTest::keyClick(&view, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(&view, Qt::Key_Down, Qt::ShiftModifier);
        QVERIFY2(view.selectedText().startsWith(entry + "\nBob 14:00"), qPrintable(view.selectedText()));
        QTest::keyClick(&view, Qt::Key_Up, Qt::ShiftModifier);
        QTest::keyClick(&view, Qt::Key_Up, Qt::ShiftModifier);
        QCOMPARE(view.selectedText(), entry);
        // With nothing selected, keys start from the bottom of the screen.
        view.clearSelection();
        QTest::keyClick(&view, Qt::Key_Home, Qt::ShiftModifier | Qt::ControlModifier);
        QCOMPARE(view.selectedText(), view.plainText());
        // Shift+click extends from the first click to the last entry's end.
        view.clearSelection();
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(30, view.entryRect(1).top() + 8));
        QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::ShiftModifier, QPoint(30, 390));
        const QString selected = view.selectedText();
        QCOMPARE(selected, entry + "\nBob 14:00\nepsilon");
        view.appendIncoming("zeta", "Bob", "bob", t0, false, false);
        QCOMPARE(view.selectedText(), selected);
        view.resize(240, 300);
        view.repaint();
        QCOMPARE(view.selectedText(), selected);
        view.setPlain(true);
        QCOMPARE(view.selectedText(), selected);
        QPalette dark = view.palette();
        dark.setColor(QPalette::Base, Qt::black);
        view.setPalette(dark);
        view.repaint();
        QCOMPARE(view.selectedText(), selected);
        QVERIFY(view.hasSelection());
    }

    void copyPutsTextAndHtmlWithPicturesOnTheClipboard()
    {
        ZMessageView view;
        view.resize(400, 300);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.appendIncoming(QStringLiteral("first <b>bold</b> & more"), "Bob <x>", "bob", t0, false, false);
        view.appendIncoming(QStringLiteral("<img src=\":/msg_error\"> picture"), "Ann", "ann", t0, false, false);
        view.appendIncoming(QStringLiteral("not selected"), "Cy", "cy", t0, false, false);
        const QRect first = view.entryRect(0);
        view.selectAll();
        view.copy();
        const QMimeData *data = QGuiApplication::clipboard()->mimeData();
        QVERIFY(data && data->hasText() && data->hasHtml());
        QCOMPARE(data->text(), view.selectedText());
        const QString html = data->html();
        QVERIFY2(html.contains("<b>Bob &lt;x&gt;</b>") && html.contains("first ") && html.contains("&amp; more"),
                 qPrintable(html));
        QVERIFY(html.contains(QRegularExpression("font-weight:\\s*(700|600|bold)")));
        QVERIFY(html.contains("<img src=\"data:image/png;base64,"));
        QVERIFY(!html.contains(":/msg_error"));
        QVERIFY(html.contains("not selected")); // Ctrl+A takes every entry
        // A selection inside one body: that stretch only, no header.
        QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, QPoint(first.left() + 30, first.bottom() - 6));
        QVERIFY(view.hasSelection());
        view.copy();
        QVERIFY(!QGuiApplication::clipboard()->mimeData()->html().contains("Bob"));
        QCOMPARE(QGuiApplication::clipboard()->text(), view.selectedText());
    }

    void widePictureIsScaledToFitAndOpensAtFullSize()
    {
        const QString path = ZDir::tempPath(true) + QStringLiteral("/wide-picture.png");
        QImage wide(1000, 200, QImage::Format_RGB32);
        wide.fill(Qt::darkGreen);
        QVERIFY(wide.save(path));
        ZMessageView view;
        view.resize(400, 300);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.appendIncoming(QStringLiteral("<img src=\":/msg_error\"><br><img src=\"%1\">").arg(path), "Bob", "bob", t0,
                            false, false);
        const QRect small = view.entryImageRect(0, 0);
        const QRect scaled = view.entryImageRect(0, 1);
        QCOMPARE(small.size(), QSize(16, 16));
        QVERIFY2(scaled.width() > 300 && scaled.right() < view.viewport()->width(), qPrintable(QStringLiteral("%1 %2").arg(scaled.right()).arg(view.viewport()->width())));
        QVERIFY(qAbs(scaled.height() * 5 - scaled.width()) <= 5);
        // Small pictures open nothing; the scaled one opens at full size.
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, small.center());
        QVERIFY(!view.findChild<PictureViewer *>());
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, scaled.center());
        auto *viewer = view.findChild<PictureViewer *>();
        QVERIFY(viewer && viewer->isVisible());
        QCOMPARE(viewer->picture().size(), QSize(1000, 200));
        QTest::keyClick(viewer, Qt::Key_Escape);
        QTRY_VERIFY(!view.findChild<PictureViewer *>());
        view.resize(300, 300);
        QVERIFY(view.entryImageRect(0, 1).width() < scaled.width());
        QVERIFY(view.entryImageRect(0, 1).right() < view.viewport()->width());
        // Text before a fitted picture keeps the height of a line of text:
        // header and that line stand above the picture, no empty band.
        view.appendIncoming(QStringLiteral("A wide one: <img src=\"%1\">").arg(path), "Bob", "bob", t0, false, false);
        const QRect fitted = view.entryImageRect(1, 0);
        const int textLine = view.fontMetrics().lineSpacing();
        QVERIFY2(fitted.top() - view.entryRect(1).top() < 2 * textLine + 8,
                 qPrintable(QStringLiteral("%1 above the picture").arg(fitted.top() - view.entryRect(1).top())));
        QVERIFY(view.entryRect(1).bottom() >= fitted.bottom());
    }

    void contextMenuOffersImageSaving()
    {
        ZMessageView view;
        view.resize(400, 300);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.appendIncoming(QStringLiteral("<img src=\":/msg_error\"> picture"), "Bob", "bob", t0, false, false);
        const QPoint over = view.entryImageRect(0, 0).center();
        auto texts = [](QMenu *menu) {
            QStringList out;
            for (QAction *action : menu->actions())
                out << action->text();
            return out;
        };
        QVERIFY(!texts(view.createContextMenu(over).get()).contains(QStringLiteral("Save Image As...")));
        view.setSaveableImages(true);
        QVERIFY(texts(view.createContextMenu(over).get()).contains(QStringLiteral("Save Image As...")));
        QVERIFY(!texts(view.createContextMenu(QPoint(view.viewport()->width() - 4, over.y())).get())
                     .contains(QStringLiteral("Save Image As...")));
    }

    void followsBottomOnlyWhenAtBottom()
    {
        ZMessageView view;
        view.resize(400, 200);
        view.show();
        for (int i = 0; i < 100; ++i)
            view.appendNotice(MessageTemplates::System, QStringLiteral("n %1").arg(i), t0);
        QScrollBar *bar = view.verticalScrollBar();
        QVERIFY(bar->maximum() > 0);
        QCOMPARE(bar->value(), bar->maximum());
        QVERIFY(view.entryRect(99).bottom() < view.viewport()->height());
        bar->setValue(bar->maximum() / 2);
        const int kept = bar->value();
        view.appendNotice(MessageTemplates::System, "more", t0);
        QCOMPARE(bar->value(), kept);
        view.scrollToBottom();
        view.appendNotice(MessageTemplates::System, "last", t0);
        QCOMPARE(bar->value(), bar->maximum());
    }

    // Following the bottom moves the pixels once per burst of appends: the
    // bar is exact after each append, and the window shows what a fresh
    // rendering does (bursts, a repaint in between, the reader's frame).
    void screenFollowsBottomAfterBursts()
    {
        ZMessageView view;
        view.resize(400, 260);
        view.show();
        view.activateWindow();
        view.setFocus();
        QVERIFY(QTest::qWaitForWindowActive(&view));
        const auto shown = [&view] {
            QCoreApplication::processEvents();
            const QImage screen = view.screen()->grabWindow(view.winId()).toImage();
            const QRect area(view.viewport()->mapTo(&view, QPoint()), view.viewport()->size());
            return screen.copy(area) == view.viewport()->grab().toImage().convertToFormat(screen.format());
        };
        QScrollBar *bar = view.verticalScrollBar();
        for (int n = 0; n < 34; ++n) {
            view.appendMultiChat(QStringLiteral("m %1 ").arg(n).repeated(n % 9 + 1), QString::number(n % 3),
                                 QString::number(n % 3), false, t0);
            QCOMPARE(bar->value(), bar->maximum());
            if (n == 26)
                view.viewport()->repaint();
            if (n == 32)
                view.setReaderFocus(n); // in the same pass as the append
            if (n == 20 || n == 21 || n >= 28)
                QVERIFY(shown());
        }
    }

    // Each message followed at the bottom is on screen after one pass of
    // the event loop: the move of the pixels does not push its paint into
    // the pass after.
    void followedMessagePaintedInOnePass()
    {
        ZMessageView view;
        view.resize(400, 200);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        int paints = 0;
        struct Filter : QObject
        {
            int *n = nullptr;
            bool eventFilter(QObject *, QEvent *e) override { return (*n += e->type() == QEvent::Paint, false); }
        } filter;
        filter.n = &paints;
        view.viewport()->installEventFilter(&filter);
        for (int n = 0; n < 30; ++n) {
            view.appendMultiChat(QStringLiteral("message %1").arg(n), QString::number(n % 2), QString::number(n % 2), false, t0);
            paints = 0;
            QCoreApplication::processEvents();
            QCOMPARE(paints, 1);
        }
    }

    void scrollToFarEntryLaysItOut()
    {
        // Entries measured at one width carry estimated heights after a resize
        // until they come into sight; scrolling to one far up must lay it out
        // at the new width, exactly as a view that only ever had that width.
        const QString longText = QStringLiteral("word ").repeated(120);
        ZMessageView view;
        view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        view.resize(300, 250);
        view.show();
        for (int i = 0; i < 2000; ++i)
            view.appendMultiChat(i == 10 ? longText : QStringLiteral("short %1").arg(i), QStringLiteral("P%1").arg(i),
                                 QStringLiteral("p%1").arg(i), false, t0);
        view.resize(700, 250);
        view.scrollToEntry(10);
        const QRect far = view.entryRect(10);
        QCOMPARE(far.top(), 0);

        ZMessageView reference;
        reference.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        reference.resize(700, 250);
        reference.show();
        reference.appendMultiChat(longText, "P10", "p10", false, t0);
        QCOMPARE(reference.viewport()->width(), view.viewport()->width());
        QCOMPARE(far.height(), reference.entryRect(0).height());
        QVERIFY(far.height() < 300); // at 300 px the same text needed more lines
        QCOMPARE(view.entryAt(QPoint(5, far.center().y())), 10);
        QVERIFY(!view.grab().isNull());
    }

    void fontChangeKeepsScrollRange()
    {
        // The inherited text edit must not reset the range to its own empty
        // document when something makes it relayout.
        ZMessageView view;
        view.resize(400, 200);
        view.show();
        for (int i = 0; i < 200; ++i)
            view.appendNotice(MessageTemplates::System, QStringLiteral("n %1").arg(i), t0);
        QScrollBar *bar = view.verticalScrollBar();
        const int maximum = bar->maximum();
        bar->setValue(maximum / 3);
        QFont font = view.font();
        font.setPointSize(font.pointSize() + 4);
        view.setFont(font);
        view.document()->setDefaultFont(font);
        view.setLineWrapMode(QTextEdit::FixedPixelWidth);
        QCoreApplication::processEvents();
        QCOMPARE(bar->maximum(), maximum);
        QCOMPARE(bar->value(), maximum / 3);
    }

    // The real scroll bar, dragged and set, with a conversation whose entries
    // out of sight carry estimated heights: the thumb follows the pointer
    // and the view shows what the thumb's place says.
    void scrollBarThumbAndDragFollowTheView()
    {
        ZMessageView view;
        view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        view.resize(400, 300);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const QString words = QStringLiteral("with some words to fill the line ").repeated(3);
        for (int i = 0; i < 120; ++i) {
            const QDateTime at = t0.addSecs(i * 1000);
            i % 2 ? view.appendIncoming(QStringLiteral("n %1 ").arg(i) + words, "Echo", "echo", at, false, false)
                  : view.appendOwn(QStringLiteral("n %1 ").arg(i) + words, "Me", "me", at);
        }
        QScrollBar *bar = view.verticalScrollBar();
        const auto topEntry = [&view] { return view.entryAt(QPoint(5, 2)); };
        const auto inSight = [&view](int entry) { return view.viewport()->rect().intersects(view.entryRect(entry)); };
        QCOMPARE(bar->value(), bar->maximum());
        QVERIFY(inSight(119));
        // The newest entries are in sight: the thumb sits at the bottom.
        const QRect thumb = thumbRect(bar);
        QVERIFY2(thumb.bottom() >= bar->height() - thumb.height(), qPrintable(QStringLiteral("thumb %1..%2 of %3")
                                                                                 .arg(thumb.top()).arg(thumb.bottom())
                                                                                 .arg(bar->height())));
        // Dragging the thumb up in small steps: it stays under the pointer and
        // older entries come into sight.
        QPoint grip = thumb.center();
        QTest::mousePress(bar, Qt::LeftButton, {}, grip);
        for (int step = 0; step < 6; ++step) {
            grip -= QPoint(0, 10);
            QTest::mouseMove(bar, grip);
            QVERIFY2(qAbs(thumbRect(bar).center().y() - grip.y()) <= 2,
                     qPrintable(QStringLiteral("thumb at %1, pointer at %2").arg(thumbRect(bar).center().y()).arg(grip.y())));
        }
        QTest::mouseRelease(bar, Qt::LeftButton, {}, grip);
        QVERIFY(!inSight(119));
        // Halfway down the range shows the middle of the conversation; the top
        // shows its start.
        bar->setValue(bar->maximum() / 2);
        QVERIFY2(topEntry() > 40 && topEntry() < 80, qPrintable(QString::number(topEntry())));
        bar->setValue(0);
        QCOMPARE(topEntry(), 0);
        QTest::mousePress(bar, Qt::LeftButton, {}, thumbRect(bar).center());
        QTest::mouseMove(bar, QPoint(bar->width() / 2, bar->height() + 50));
        QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() + 50));
        QCOMPARE(bar->value(), bar->maximum());
        QVERIFY(inSight(119));
        // A click on the groove above the thumb pages up.
        QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() / 3));
        QVERIFY(bar->value() < bar->maximum());
    }
};

QTEST_MAIN(tst_ZMessageView)
#include "tst_zmessageview.moc"
