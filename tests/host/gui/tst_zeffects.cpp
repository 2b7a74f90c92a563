// Transient effects delete themselves and must survive the widget they work
// on going away half-way (a chat window closed while it shakes, a toolbar
// deleted while it fades).

#include "zavatar.h"
#include "zfaderwidget.h"
#include "zhostevents.h"
#include "zshakewidget.h"

#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

using namespace zubrel;

class tst_ZEffects : public QObject
{
    Q_OBJECT

private slots:
    void fadeFinishes_data()
    {
        QTest::addColumn<bool>("out");
        QTest::newRow("out") << true;
        QTest::newRow("in") << false;
    }
    void fadeFinishes()
    {
        QFETCH(bool, out);
        QWidget widget;
        widget.resize(100, 40);
        widget.show();
        QPointer<ZFaderWidget> fader = new ZFaderWidget(&widget);
        fader->setDuration(50);
        QSignalSpy done(fader.data(), &ZFaderWidget::done);
        out ? fader->fadeOut() : fader->fadeIn();
        QTRY_COMPARE(done.count(), 1);
        QCOMPARE(done.at(0).at(0).toBool(), out);
        QTRY_VERIFY(fader.isNull());
    }

    void faderDiesWithWidget()
    {
        auto *widget = new QWidget;
        widget->show();
        QPointer<ZFaderWidget> fader = new ZFaderWidget(widget);
        fader->fadeIn();
        delete widget;
        QVERIFY(fader.isNull());
        // Let any timer that might still be around fire.
        QTest::qWait(50);
    }

    void faderWithoutWidget()
    {
        QPointer<ZFaderWidget> fader = new ZFaderWidget(nullptr);
        QSignalSpy done(fader.data(), &ZFaderWidget::done);
        fader->fadeOut();
        QCOMPARE(done.count(), 1);
        QTRY_VERIFY(fader.isNull());
    }

    void shakeRestoresPosition()
    {
        QWidget window;
        window.resize(200, 100);
        window.move(300, 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QPoint origin = window.pos();

        QSignalSpy events(ZHostEvents::instance(), &ZHostEvents::event);
        QPointer<ZShakeWidget> shake = new ZShakeWidget(&window);
        QSignalSpy done(shake.data(), &ZShakeWidget::done);
        shake->shakeWidget();
        QCOMPARE(events.count(), 1);
        QCOMPARE(events.at(0).at(0).toString(), QStringLiteral("shake"));
        QCOMPARE(events.at(0).at(1).toMap().value("widget").value<QObject *>(), &window);
        QTRY_COMPARE(done.count(), 1);
        QCOMPARE(window.pos(), origin);
        QTRY_VERIFY(shake.isNull());
    }

    void secondShakeLeavesTheWindowAtHome()
    {
        QWidget window;
        window.move(300, 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QPoint origin = window.pos();
        (new ZShakeWidget(&window))->shakeWidget();
        QTRY_VERIFY(window.pos() != origin);
        QPointer<ZShakeWidget> second = new ZShakeWidget(&window);
        second->shakeWidget();
        QTRY_VERIFY(window.findChildren<ZShakeWidget *>().isEmpty());
        QCOMPARE(window.pos(), origin);
    }

    void shakeSurvivesWindowDeletion()
    {
        auto *window = new QWidget;
        window->show();
        // Parent is a child widget: the shake moves the top-level window and may
        // outlive the child it was created on only as long as the window lives.
        auto *child = new QWidget(window);
        QPointer<ZShakeWidget> shake = new ZShakeWidget(child);
        shake->shakeWidget();
        QVERIFY(shake->isShaking());
        delete window;
        QVERIFY(shake.isNull());
        QTest::qWait(60);
    }

    void avatarClosesOnClick()
    {
        QPixmap picture(40, 30);
        picture.fill(Qt::green);
        QPointer<ZAvatar> avatar = new ZAvatar(picture);
        QSignalSpy clicked(avatar.data(), &ZAvatar::clicked);
        avatar->show();
        QTest::mouseClick(avatar.data(), Qt::LeftButton);
        QCOMPARE(clicked.count(), 1);
        QTRY_VERIFY(avatar.isNull());
    }

    void avatarScalesLargePictures()
    {
        QPixmap huge(2000, 1000);
        huge.fill(Qt::red);
        ZAvatar avatar(huge);
        QVERIFY(avatar.pixmap().width() <= ZAvatar::maxEdge);
        QVERIFY(avatar.pixmap().height() <= ZAvatar::maxEdge);
        // An unreadable file still shows something rather than a 0x0 window.
        ZAvatar missing(QStringLiteral("/nonexistent/picture.png"));
        QVERIFY(!missing.pixmap().isNull());
        QVERIFY(missing.width() > 4);
    }

    void avatarClosesOnClickElsewhere()
    {
        QWidget other;
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        QPixmap picture(40, 30);
        picture.fill(Qt::green);
        QPointer<ZAvatar> avatar = new ZAvatar(picture, &other);
        QSignalSpy clicked(avatar.data(), &ZAvatar::clicked);
        avatar->show();
        QTest::mouseClick(&other, Qt::LeftButton);
        QTRY_VERIFY(avatar.isNull());
        QCOMPARE(clicked.count(), 0);
    }
};

QTEST_MAIN(tst_ZEffects)
#include "tst_zeffects.moc"
