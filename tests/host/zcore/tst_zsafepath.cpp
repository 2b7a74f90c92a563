#include "zsafepath.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace zubrel;

// Hostile names as the network, a theme or a listing could deliver them.
class tst_ZSafePath : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        m_folder = m_root.filePath(QStringLiteral("folder"));
        QVERIFY(QDir().mkpath(m_folder + QStringLiteral("/sub")));
        QVERIFY(QDir().mkpath(m_root.filePath(QStringLiteral("outside"))));
        QVERIFY(QFile::link(m_root.filePath(QStringLiteral("outside")), m_folder + QStringLiteral("/out")));
        QVERIFY(QFile::link(QStringLiteral("/etc/passwd"), m_folder + QStringLiteral("/passwd")));
        QVERIFY(QFile::link(m_folder + QStringLiteral("/sub"), m_folder + QStringLiteral("/in")));
        QVERIFY(QFile::link(m_root.filePath(QStringLiteral("gone")), m_folder + QStringLiteral("/dangling")));
    }

    void childPath_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("accepted");
        const QString nul = QStringLiteral("a") + QChar(0) + QStringLiteral("b");
        const std::initializer_list<std::pair<const char *, std::pair<QString, bool>>> rows = {
            {"plain", {QStringLiteral("smile.png"), true}},
            {"hidden", {QStringLiteral(".smile"), true}},
            {"unicode", {QStringLiteral("Grüße ☺.png"), true}},
            {"empty", {QString(), false}},
            {"dot", {QStringLiteral("."), false}},
            {"dot dot", {QStringLiteral(".."), false}},
            {"slash", {QStringLiteral("a/b"), false}},
            {"climb", {QStringLiteral("../x"), false}},
            {"root", {QStringLiteral("/"), false}},
            {"absolute", {QStringLiteral("/etc/passwd"), false}},
            {"backslash", {QStringLiteral("..\\x"), false}},
            {"drive letter", {QStringLiteral("C:"), false}},
            {"drive path", {QStringLiteral("C:\\Windows"), false}},
            {"nul", {nul, false}},
            {"newline", {QStringLiteral("a\nb"), false}},
            {"too long", {QString(ZSafePath::MaxNameBytes + 1, u'x'), false}},
            {"longest", {QString(ZSafePath::MaxNameBytes, u'x'), true}},
            {"link out of folder", {QStringLiteral("out"), false}},
            {"link to a system file", {QStringLiteral("passwd"), false}},
            {"dangling link", {QStringLiteral("dangling"), false}},
            {"link inside folder", {QStringLiteral("in"), true}},
        };
        for (const auto &row : rows)
            QTest::newRow(row.first) << row.second.first << row.second.second;
    }
    void childPath()
    {
        QFETCH(QString, name);
        QFETCH(bool, accepted);
        const QString path = ZSafePath::childPath(m_folder, name);
        QCOMPARE(!path.isEmpty(), accepted);
        if (accepted)
            QCOMPARE(path, m_folder + u'/' + name);
    }

    void relativePath_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("one name") << QStringLiteral("a.png") << true;
        QTest::newRow("sub folder") << QStringLiteral("sub/a.png") << true;
        QTest::newRow("not yet made") << QStringLiteral("new/deeper/a.png") << true;
        QTest::newRow("climb") << QStringLiteral("sub/../../x") << false;
        QTest::newRow("absolute") << QStringLiteral("/etc/passwd") << false;
        QTest::newRow("double slash") << QStringLiteral("sub//a") << false;
        QTest::newRow("trailing slash") << QStringLiteral("sub/") << false;
        QTest::newRow("through link out") << QStringLiteral("out/x") << false;
        QTest::newRow("through link inside") << QStringLiteral("in/x") << true;
        QTest::newRow("backslash") << QStringLiteral("sub\\..\\..\\x") << false;
    }
    void relativePath()
    {
        QFETCH(QString, relative);
        QFETCH(bool, accepted);
        QCOMPARE(!ZSafePath::relativePath(m_folder, relative).isEmpty(), accepted);
    }

private:
    QTemporaryDir m_root;
    QString m_folder;
};

QTEST_GUILESS_MAIN(tst_ZSafePath)
#include "tst_zsafepath.moc"
