// The platform layer, desktop helpers and the balloon: the default reports
// what it did, scripted runs launch
// nothing, and windows end up where asked.

#include "zballoontip.h"
#include "zdesktop.h"
#include "zhostevents.h"
#include "zmodalscript.h"
#include "zplatform.h"

#include <QDesktopServices>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

using namespace zubrel;

class tst_ZPlatform : public QObject
{
    Q_OBJECT

public slots:
    void handleUrl(const QUrl &url) { m_opened << url; }

private slots:
    void init()
    {
        m_events.clear();
        m_opened.clear();
        ZModalScript::instance()->setScripted(true);
        m_connection = connect(ZHostEvents::instance(), &ZHostEvents::event, this,
                               [this](const QString &kind, const QVariantMap &fields) {
                                   m_events.append({kind, fields});
                               });
    }

    void cleanup()
    {
        disconnect(m_connection);
        ZPlatform::setInstance(nullptr);
        QDesktopServices::unsetUrlHandler("zubreltest");
    }

    void defaultReportsWindowOps()
    {
        QWidget w;
        ZPlatform::instance()->showMinimizedNoActivate(&w);
        QVERIFY(w.isVisible());
        QVERIFY(w.isMinimized());
        QVERIFY(w.testAttribute(Qt::WA_ShowWithoutActivating));

        QWidget placed;
        ZPlatform::instance()->setWindowGeometry(&placed, QRect(30, 40, 300, 200));
        QCOMPARE(placed.frameGeometry().topLeft(), QPoint(30, 40));
        ZPlatform::instance()->raiseAndActivate(&placed);

        QCOMPARE(m_events.size(), 3);
        QCOMPARE(m_events.at(0).first, QString("platform"));
        QCOMPARE(m_events.at(0).second.value("op").toString(), QString("showMinimizedNoActivate"));
        QCOMPARE(m_events.at(0).second.value("widget").value<QObject *>(), &w);
        QCOMPARE(m_events.at(1).second.value("op").toString(), QString("setGeometry"));
        QCOMPARE(m_events.at(1).second.value("values").toList(), QVariantList({30, 40, 300, 200}));
        QCOMPARE(m_events.at(2).second.value("op").toString(), QString("raise"));
        QCOMPARE(m_events.at(2).second.value("widget").value<QObject *>(), &placed);

        // A window that is already gone must not crash the caller.
        ZPlatform::instance()->raiseAndActivate(nullptr);
    }

    void scriptedOpenUrlNeverLaunches()
    {
        QDesktopServices::setUrlHandler("zubreltest", this, "handleUrl");
        QVERIFY(ZPlatform::instance()->openUrl(QUrl("zubreltest://page")));
        QVERIFY(m_opened.isEmpty());
        QCOMPARE(m_events.size(), 1);
        QCOMPARE(m_events.at(0).first, QString("platform"));
        QCOMPARE(m_events.at(0).second.value("op").toString(), QString("openUrl"));
        QCOMPARE(m_events.at(0).second.value("url").toString(), QString("zubreltest://page"));
    }

    void unscriptedOpenUrlReachesDesktop()
    {
        // The counterpart of the test above: the handler does see real opens,
        // so its silence there means something.
        ZModalScript::instance()->setScripted(false);
        QDesktopServices::setUrlHandler("zubreltest", this, "handleUrl");
        QVERIFY(ZPlatform::instance()->openUrl(QUrl("zubreltest://page")));
        QCOMPARE(m_opened, QList<QUrl>{QUrl("zubreltest://page")});
        ZModalScript::instance()->setScripted(true);
    }

    void scriptedStartDetachedOnlyReports()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString marker = dir.filePath("started");
        QVERIFY(ZPlatform::instance()->startDetached("/bin/sh", {"-c", "touch '" + marker + "'"}));
        QCOMPARE(m_events.size(), 1);
        QCOMPARE(m_events.at(0).first, QString("process"));
        QCOMPARE(m_events.at(0).second.value("program").toString(), QString("/bin/sh"));
        QCOMPARE(m_events.at(0).second.value("args").toStringList(),
                 QStringList({"-c", "touch '" + marker + "'"}));
        QTest::qWait(300);
        QVERIFY(!QFile::exists(marker));
    }

    void setCentered()
    {
        QWidget w;
        w.resize(200, 100);
        w.move(0, 0);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        ZDesktop::setCentered(&w);
        const QRect area = w.screen()->availableGeometry();
        QCOMPARE(w.frameGeometry().center(), area.center());

        // Asked through a child, the window is centred.
        QWidget child(&w);
        w.move(5, 5);
        ZDesktop::setCentered(&child);
        QCOMPARE(w.frameGeometry().center(), area.center());
        ZDesktop::setCentered(nullptr);
    }

    void flashReported()
    {
        QWidget w;
        QWidget child(&w);
        ZDesktop::flashWindow(&child, true);
        QCOMPARE(m_events.size(), 1);
        QCOMPARE(m_events.at(0).first, QString("flash"));
        QCOMPARE(m_events.at(0).second.value("widget").value<QObject *>(), &w);
        ZDesktop::flashWindow(&w, false);
        ZDesktop::flashWindow(nullptr, true);
        QCOMPARE(m_events.size(), 1);
    }

    void balloonHidesWithAnchor()
    {
        auto anchor = std::make_unique<QWidget>();
        anchor->resize(100, 50);
        anchor->show();
        ZBalloonTip::showBalloon(anchor.get(), "Title", "Some text", 0);
        QVERIFY(ZBalloonTip::isActive());
        QCOMPARE(ZBalloonTip::current()->text(), QString("Some text"));

        // A second balloon replaces the first.
        ZBalloonTip::showBalloon(QPoint(10, 10), "Other", "Second", 0);
        QCOMPARE(ZBalloonTip::current()->title(), QString("Other"));
        ZBalloonTip::showBalloon(anchor.get(), "Title", "Again", 0);

        anchor.reset();
        QVERIFY(!ZBalloonTip::isActive());
        ZBalloonTip::hideBalloon();

        ZBalloonTip::showBalloon(QPoint(10, 10), "T", "x", 0);
        QVERIFY(ZBalloonTip::isActive());
        ZBalloonTip::hideBalloon();
        QVERIFY(!ZBalloonTip::isActive());
    }

private:
    QList<std::pair<QString, QVariantMap>> m_events;
    QList<QUrl> m_opened;
    QMetaObject::Connection m_connection;
};

QTEST_MAIN(tst_ZPlatform)
#include "tst_zplatform.moc"
