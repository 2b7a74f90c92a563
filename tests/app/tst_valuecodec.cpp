// Script values in, tagged trace values out: the table both replay files
// and outside readers of traces rely on.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include "valuecodec.h"

using namespace zubrel;

class tst_ValueCodec : public QObject
{
    Q_OBJECT

private:
    static QJsonValue json(const char *text)
    {
        return QJsonDocument::fromJson(QByteArray("[") + text + "]").array().at(0);
    }

private slots:
    void readsScriptValues_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("plain text") << QByteArray("\"hi\"") << QVariant(QStringLiteral("hi"));
        QTest::newRow("tagged text") << QByteArray("{\"s\":\"hi\"}") << QVariant(QStringLiteral("hi"));
        QTest::newRow("utf8 bytes") << QByteArray("{\"utf8\":\"\u00e4\"}") << QVariant(QByteArray("\xc3\xa4"));
        QTest::newRow("base64 bytes") << QByteArray("{\"b64\":\"AAH/\"}") << QVariant(QByteArray("\x00\x01\xff", 3));
        QTest::newRow("plain int") << QByteArray("5") << QVariant(5);
        QTest::newRow("tagged int") << QByteArray("{\"i\":-7}") << QVariant(-7);
        QTest::newRow("uint") << QByteArray("{\"u\":4294967295}") << QVariant(4294967295u);
        QTest::newRow("qint64") << QByteArray("{\"ll\":-5}") << QVariant(qint64(-5));
        QTest::newRow("quint64 as text") << QByteArray("{\"ull\":\"18446744073709551615\"}")
                                         << QVariant(quint64(18446744073709551615ull));
        QTest::newRow("plain double") << QByteArray("1.5") << QVariant(1.5);
        QTest::newRow("tagged double") << QByteArray("{\"d\":2}") << QVariant(2.0);
        QTest::newRow("bool") << QByteArray("true") << QVariant(true);
        QTest::newRow("null") << QByteArray("null") << QVariant();
    }
    void readsScriptValues()
    {
        QFETCH(QByteArray, script);
        QFETCH(QVariant, expected);
        QString error;
        const auto value = ValueCodec::fromJson(json(script.constData()), &error);
        QVERIFY2(value.has_value(), qPrintable(error));
        QCOMPARE(value->typeId(), expected.typeId());
        QCOMPARE(*value, expected);
    }

    void refusesBadValues_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::newRow("unknown tag") << QByteArray("{\"x\":1}");
        QTest::newRow("two tags") << QByteArray("{\"i\":1,\"u\":2}");
        QTest::newRow("int out of range") << QByteArray("{\"i\":4294967296}");
        QTest::newRow("negative uint") << QByteArray("{\"u\":-1}");
        QTest::newRow("fractional int") << QByteArray("{\"i\":1.5}");
        QTest::newRow("bad base64") << QByteArray("{\"b64\":\"***\"}");
        QTest::newRow("text as int") << QByteArray("{\"i\":\"5\"}");
        QTest::newRow("list") << QByteArray("[1]");
    }
    void refusesBadValues()
    {
        QFETCH(QByteArray, script);
        QString error;
        QVERIFY(!ValueCodec::fromJson(json(script.constData()), &error).has_value());
        QVERIFY(!error.isEmpty());
    }

    void writesTaggedValues_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("text") << QVariant(QStringLiteral("a")) << QByteArray("{\"s\":\"a\"}");
        QTest::newRow("utf8 bytes") << QVariant(QByteArray("ok")) << QByteArray("{\"utf8\":\"ok\"}");
        QTest::newRow("binary bytes") << QVariant(QByteArray("\xff\x00", 2)) << QByteArray("{\"b64\":\"/wA=\"}");
        QTest::newRow("int") << QVariant(3) << QByteArray("{\"i\":3}");
        QTest::newRow("uint") << QVariant(3u) << QByteArray("{\"u\":3}");
        QTest::newRow("qint64") << QVariant(qint64(3)) << QByteArray("{\"ll\":3}");
        QTest::newRow("quint64") << QVariant(quint64(3)) << QByteArray("{\"ull\":3}");
        QTest::newRow("double") << QVariant(0.5) << QByteArray("{\"d\":0.5}");
        QTest::newRow("bool") << QVariant(false) << QByteArray("{\"bool\":false}");
        QTest::newRow("invalid") << QVariant() << QByteArray("null");
    }
    void writesTaggedValues()
    {
        QFETCH(QVariant, value);
        QFETCH(QByteArray, expected);
        const QByteArray written = QJsonDocument(QJsonArray{ValueCodec::toTagged(value)}).toJson(QJsonDocument::Compact);
        QCOMPARE(written, "[" + expected + "]");
    }

    void refusesMalformedArguments_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::newRow("not a list") << QByteArray("{\"a\":1}");
        QTest::newRow("two items") << QByteArray("[[6, 9]]");
        QTest::newRow("type too big") << QByteArray("[[65536, 0, 1]]");
        QTest::newRow("field text") << QByteArray("[[6, \"9\", 1]]");
        QTest::newRow("bad value") << QByteArray("[[6, 9, {\"q\": 1}]]");
    }
    void refusesMalformedArguments()
    {
        QFETCH(QByteArray, script);
        QString error;
        QVERIFY(!ValueCodec::argsFromJson(json(script.constData()), &error).has_value());
        QVERIFY(!error.isEmpty());
    }

    void absentArgumentsAreNone()
    {
        QString error;
        const auto args = ValueCodec::argsFromJson(QJsonValue(QJsonValue::Undefined), &error);
        QVERIFY(args.has_value());
        QVERIFY(args->isEmpty());
    }

    void commands()
    {
        ushort a = 0, b = 0;
        QString error;
        QVERIFY(ValueCodec::commandFromJson(json("[4, 61601]"), &a, &b, &error));
        QCOMPARE(a, ushort(4));
        QCOMPARE(b, ushort(0xF0A1));
        QVERIFY(!ValueCodec::commandFromJson(json("[4]"), &a, &b, &error));
        QVERIFY(!ValueCodec::commandFromJson(json("[4, 70000]"), &a, &b, &error));
        QVERIFY(!ValueCodec::commandFromJson(json("\"4,1\""), &a, &b, &error));
    }
};

QTEST_GUILESS_MAIN(tst_ValueCodec)
#include "tst_valuecodec.moc"
