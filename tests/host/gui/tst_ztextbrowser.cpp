// Saving pictures from the message view: found under the pointer, written
// through the (scripted) save dialog, originals copied byte for byte, and a
// failed write never reported as saved.

#include "zhostevents.h"
#include "zmodalscript.h"
#include "ztextbrowser.h"

#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>

using namespace zubrel;

static void showWithPicture(ZTextBrowser &view)
{
    QImage red(20, 20, QImage::Format_RGB32);
    red.fill(Qt::red);
    view.document()->addResource(QTextDocument::ImageResource, QUrl("pic.png"), red);
    view.setHtml("<img src=\"pic.png\"> after the picture");
    view.resize(400, 200);
    view.show();
}

class tst_ZTextBrowser : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_dir.isValid());
        ZModalScript::instance()->setScripted(true);
    }

    void init()
    {
        ZModalScript::instance()->clear();
    }

    void imageUnderPointer()
    {
        ZTextBrowser view;
        showWithPicture(view);
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QCOMPARE(view.imageAt(imagePoint(view)), QString("pic.png"));
        QCOMPARE(view.imageAt(QPoint(300, 10)), QString());
    }

    void menuOffersSaveOnlyWhenEnabled()
    {
        ZTextBrowser view;
        showWithPicture(view);
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        auto hasSave = [&view](const QPoint &pos) {
            const auto menu = view.createContextMenu(pos);
            for (QAction *action : menu->actions()) {
                if (action->text() == "Save Image As...")
                    return true;
            }
            return false;
        };
        QVERIFY(!hasSave(imagePoint(view)));
        view.setSaveableImages(true);
        QVERIFY(hasSave(imagePoint(view)));
        QVERIFY(!hasSave(QPoint(300, 10)));
    }

    void savesResourceImage()
    {
        ZTextBrowser view;
        showWithPicture(view);
        const QString target = m_dir.filePath("saved.png");
        ZModalScript::instance()->queue("file", target);
        QVERIFY(view.saveImage("pic.png"));
        const QImage saved(target);
        QCOMPARE(saved.size(), QSize(20, 20));
        QCOMPARE(saved.pixelColor(5, 5), QColor(Qt::red));
    }

    void copiesOriginalFile()
    {
        QImage blue(8, 8, QImage::Format_ARGB32);
        blue.fill(Qt::blue);
        const QString source = m_dir.filePath("source.png");
        QVERIFY(blue.save(source));
        QFile in(source);
        QVERIFY(in.open(QIODevice::ReadOnly));
        const QByteArray original = in.readAll();

        ZTextBrowser view;
        const QString name = QUrl::fromLocalFile(source).toString();
        view.setHtml("<img src=\"" + name + "\">");
        const QString target = m_dir.filePath("copy.png");
        ZModalScript::instance()->queue("file", target);
        QVERIFY(view.saveImage(name));
        QFile out(target);
        QVERIFY(out.open(QIODevice::ReadOnly));
        QCOMPARE(out.readAll(), original);
    }

    void cancelWritesNothing()
    {
        ZTextBrowser view;
        showWithPicture(view);
        const int before = int(QDir(m_dir.path()).entryList(QDir::Files).size());
        QVERIFY(!view.saveImage("pic.png"));
        QCOMPARE(int(QDir(m_dir.path()).entryList(QDir::Files).size()), before);
        // No such picture: nothing is asked at all.
        ZModalScript::instance()->queue("file", m_dir.filePath("never.png"));
        QVERIFY(!view.saveImage("missing.png"));
        QCOMPARE(ZModalScript::instance()->pending("file"), 1);
    }

    void failedWriteIsReported()
    {
        ZTextBrowser view;
        showWithPicture(view);
        QStringList boxes;
        auto connection = connect(ZHostEvents::instance(), &ZHostEvents::event, this,
                                  [&boxes](const QString &kind, const QVariantMap &fields) {
                                      if (kind == "box")
                                          boxes << fields.value("kind").toString();
                                  });
        ZModalScript::instance()->queue("file", m_dir.filePath("no/such/folder/x.png"));
        QVERIFY(!view.saveImage("pic.png"));
        disconnect(connection);
        QCOMPARE(boxes, QStringList{"information"});
    }

private:
    QPoint imagePoint(ZTextBrowser &view) const;
    QTemporaryDir m_dir;
};

QPoint tst_ZTextBrowser::imagePoint(ZTextBrowser &view) const
{
    QTextCursor cursor(view.document());
    cursor.setPosition(0);
    const QRect rect = view.cursorRect(cursor);
    return QPoint(rect.left() + 10, rect.bottom() - 5);
}

QTEST_MAIN(tst_ZTextBrowser)
#include "tst_ztextbrowser.moc"
