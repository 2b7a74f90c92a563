// Replay steps against a stand-in controller and chat window: registry
// look-up, chat keys, typing beyond Latin-1, queued settings and answers, and
// the errors that end a replay. The replays under tests/replays drive every
// other step through the real module.

#include <QAction>
#include <QDir>
#include <QJsonDocument>
#include <QMainWindow>
#include <QMenuBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

#include "chatstatereader.h"
#include "hosttracer.h"
#include "modulehost.h"
#include "replayrunner.h"
#include "replaysoaksteps.h"
#include "tracewriter.h"
#include "wrappluginhelper.h"
#include "zcontactcard.h"
#include "zcontactcardlist.h"
#include "zdir.h"
#include "zmodalscript.h"

namespace zubrel {

// Same class names as the module's, which is what the host looks for.
class Chat : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    Q_INVOKABLE QVariantMap registry() const
    {
        QVariantMap chats;
        for (auto it = windows.cbegin(); it != windows.cend(); ++it) {
            if (it.value())
                chats.insert(it.key(), QVariant::fromValue<QObject *>(it.value()));
        }
        return {{QStringLiteral("chats"), chats},
                {QStringLiteral("multichats"), QVariantMap()},
                {QStringLiteral("randomChats"), QVariantMap()},
                {QStringLiteral("cards"), QVariantMap{{QStringLiteral("2001"), 1}, {QStringLiteral("1000"), 1}}},
                {QStringLiteral("requestTabs"), 3}};
    }
    QHash<QString, QPointer<QWidget>> windows;
};

class ZChatTab : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;
};

} // namespace zubrel

using namespace zubrel;

class tst_ReplaySteps : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_profile;
    TraceWriter *m_writer = nullptr;
    HostTracer *m_tracer = nullptr;
    ModuleHost *m_module = nullptr;
    ReplayRunner *m_runner = nullptr;
    Chat *m_chat = nullptr;
    QPointer<QMainWindow> m_window;
    QPointer<QTextEdit> m_input;
    QList<QJsonObject> m_events;

    bool step(const char *json, QString *error = nullptr)
    {
        QString message;
        const bool ok = m_runner->runStep(QJsonDocument::fromJson(json).object(), &message);
        if (error)
            *error = message;
        m_runner->settle();
        return ok;
    }
    QJsonObject lastEvent(const QString &name) const
    {
        for (auto it = m_events.crbegin(); it != m_events.crend(); ++it) {
            if (it->value(QLatin1String("ev")).toString() == name)
                return *it;
        }
        return {};
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_profile.isValid());
        ZDir::setProfilePath(m_profile.path());
        ZModalScript::instance()->setScripted(true);
        m_writer = new TraceWriter(this);
        connect(m_writer, &TraceWriter::written, this, [this](const QJsonObject &event) { m_events.append(event); });
        m_tracer = new HostTracer(m_writer, this);
        m_module = new ModuleHost(this);
        m_runner = new ReplayRunner(m_writer, m_tracer, m_module, this);
    }

    void init()
    {
        m_events.clear();
        m_chat = new Chat(WrapPluginHelper::Instance());
        m_window = new QMainWindow;
        m_window->menuBar()->addMenu(QStringLiteral("&Chat"))->addAction(QStringLiteral("&Close window\tCtrl+W"));
        auto *tabs = new QTabWidget(m_window);
        auto *tab = new ZChatTab;
        tabs->addTab(tab, QStringLiteral("Echo"));
        m_input = new QTextEdit(tab);
        m_input->setObjectName(QStringLiteral("input"));
        auto *list = new ZContactCardList(tab);
        list->setObjectName(QStringLiteral("cardList"));
        auto *card = new ZContactCard;
        card->setZubrelId(QStringLiteral("2001"));
        card->addAction(QStringLiteral("wave"), QStringLiteral("Wave"));
        list->addCard(card);
        m_window->setCentralWidget(tabs);
        m_window->setGeometry(10, 20, 400, 300);
        m_window->show();
        m_chat->windows.insert(QStringLiteral("2001"), m_window.data());
    }

    void cleanup()
    {
        delete m_window;
        delete m_chat;
    }

    void findsTheControllerAndNamesWindowsByKey()
    {
        QCOMPARE(ChatStateReader::controller(), m_chat);
        QCOMPARE(ChatStateReader::window(QStringLiteral("2001")), m_window.data());
        QCOMPARE(ChatStateReader::keyOf(m_input), QStringLiteral("2001"));
        QWidget stranger;
        QCOMPARE(ChatStateReader::keyOf(&stranger), QString());
        QCOMPARE(ChatStateReader::keyOf(nullptr), QString());
    }

    void typeAndKeyReachTheInput()
    {
        QVERIFY(step(R"({"do": "type", "chat": "2001", "text": "hi there"})"));
        QCOMPARE(m_input->toPlainText(), QStringLiteral("hi there"));
        QVERIFY(step(R"({"do": "key", "chat": "2001", "key": "Backspace"})"));
        QCOMPARE(m_input->toPlainText(), QStringLiteral("hi ther"));
        QVERIFY(step(R"({"do": "key", "chat": "2001", "key": "A", "mods": ["Shift"]})"));
        QCOMPARE(m_input->toPlainText(), QStringLiteral("hi therA"));
    }

    void typingGoesBeyondLatin1()
    {
        QVERIFY(step("{\"do\": \"type\", \"chat\": \"2001\", \"text\": \"Gr\\u00fc\\u00dfe \\u0416 \\ud83d\\ude00!\"}"));
        QCOMPARE(m_input->toPlainText(), QStringLiteral("Gr\u00fc\u00dfe \u0416 \U0001F600!"));
    }

    void settingsAndModalsAreQueued()
    {
        QVERIFY(step(R"({"do": "setting", "group": "zchat", "key": "plain", "value": true})"));
        const QJsonObject setting = lastEvent(QStringLiteral("setting"));
        QCOMPARE(setting.value(QLatin1String("key")).toString(), QStringLiteral("plain"));
        QCOMPARE(setting.value(QLatin1String("value")).toObject().value(QLatin1String("bool")).toBool(), true);
        const int before = ZModalScript::instance()->pending(QStringLiteral("question"));
        QVERIFY(step(R"({"do": "modal", "kind": "question", "answer": "yes"})"));
        QCOMPARE(ZModalScript::instance()->pending(QStringLiteral("question")), before + 1);
        ZModalScript::instance()->clear();
    }

    void malformedStepsAreRefused_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::newRow("no do") << QByteArray(R"({"chat": "2001"})");
        QTest::newRow("unknown step") << QByteArray(R"({"do": "jump"})");
        QTest::newRow("unknown chat") << QByteArray(R"({"do": "type", "chat": "4242", "text": "x"})");
        QTest::newRow("chat not text") << QByteArray(R"({"do": "type", "chat": 2001, "text": "x"})");
        QTest::newRow("unknown key") << QByteArray(R"({"do": "key", "chat": "2001", "key": "Banana"})");
        QTest::newRow("unknown modifier") << QByteArray(R"({"do": "key", "chat": "2001", "key": "A", "mods": ["Hyper"]})");
        QTest::newRow("answer nothing pending") << QByteArray(R"({"do": "answer", "req": "last", "ok": true})");
        QTest::newRow("answer unknown id") << QByteArray(R"({"do": "answer", "req": 99999, "ok": true})");
        QTest::newRow("answer ok not bool") << QByteArray(R"({"do": "answer", "req": 1, "ok": "yes"})");
        QTest::newRow("in without cmd") << QByteArray(R"({"do": "in", "args": []})");
        QTest::newRow("modal kind") << QByteArray(R"({"do": "modal", "kind": "telepathy", "answer": "yes"})");
        QTest::newRow("modal without answer") << QByteArray(R"({"do": "modal", "kind": "question"})");
        QTest::newRow("setting without key") << QByteArray(R"({"do": "setting", "group": "zchat", "value": 1})");
        QTest::newRow("negative wait") << QByteArray(R"({"do": "wait", "ms": -5})");
        QTest::newRow("stop before start") << QByteArray(R"({"do": "stop"})");
        QTest::newRow("history without chat") << QByteArray(R"({"do": "history", "count": 3})");
        QTest::newRow("drop without files") << QByteArray(R"({"do": "drop", "chat": "2001", "files": []})");
        QTest::newRow("unknown menu entry") << QByteArray(R"({"do": "menu", "chat": "2001", "text": "Fly away"})");
        QTest::newRow("unknown card action")
            << QByteArray(R"({"do": "card", "chat": "2001", "id": "2001", "action": "explode"})");
        QTest::newRow("unknown card") << QByteArray(R"({"do": "card", "chat": "2001", "id": "3003", "action": "wave"})");
        QTest::newRow("link without url") << QByteArray(R"({"do": "link", "chat": "2001"})");
    }
    void malformedStepsAreRefused()
    {
        QFETCH(QByteArray, json);
        QString error;
        QVERIFY(!step(json.constData(), &error));
        QVERIFY(!error.isEmpty());
    }

    void aScriptStopsAtItsFirstBadLine()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("bad.replay"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("# comment\n\n{\"do\": \"dump\"}\n{\"do\": \"type\", \"chat\": \"9\", \"text\": \"x\"}\n{\"do\": \"dump\"}\n");
        file.close();
        const int states = int(std::count_if(m_events.cbegin(), m_events.cend(), [](const QJsonObject &e) {
            return e.value(QLatin1String("ev")).toString() == QLatin1String("state");
        }));
        QCOMPARE(m_runner->run(path), 2);
        const QJsonObject error = m_events.last();
        QCOMPARE(error.value(QLatin1String("ev")).toString(), QStringLiteral("error"));
        QCOMPARE(error.value(QLatin1String("line")).toInt(), 4);
        const int statesAfter = int(std::count_if(m_events.cbegin(), m_events.cend(), [](const QJsonObject &e) {
            return e.value(QLatin1String("ev")).toString() == QLatin1String("state");
        }));
        QCOMPARE(statesAfter, states + 1); // line 5 never ran
    }

    void aMissingScriptIsAnErrorToo()
    {
        QCOMPARE(m_runner->run(QStringLiteral("/nonexistent/script.replay")), 2);
        QCOMPARE(m_events.last().value(QLatin1String("ev")).toString(), QStringLiteral("error"));
        QCOMPARE(m_events.last().value(QLatin1String("line")).toInt(), 0);
    }

    // A shortened soak still runs every step at least once; anything but a
    // divisor above one leaves the count as written.
    void soakRoundsScaleDownButNeverToNone_data()
    {
        QTest::addColumn<QByteArray>("divisor");
        QTest::addColumn<int>("times");
        QTest::addColumn<int>("rounds");
        QTest::newRow("unset") << QByteArray() << 200 << 200;
        QTest::newRow("quarter") << QByteArray("4") << 200 << 50;
        QTest::newRow("rounds up") << QByteArray("4") << 5 << 2;
        QTest::newRow("one stays one") << QByteArray("4") << 1 << 1;
        QTest::newRow("zero") << QByteArray("0") << 200 << 200;
        QTest::newRow("negative") << QByteArray("-3") << 200 << 200;
        QTest::newRow("not a number") << QByteArray("x") << 200 << 200;
    }

    void soakRoundsScaleDownButNeverToNone()
    {
        QFETCH(QByteArray, divisor);
        QFETCH(int, times);
        QFETCH(int, rounds);
        if (divisor.isNull())
            qunsetenv("ZUBREL_SOAK_DIVISOR");
        else
            qputenv("ZUBREL_SOAK_DIVISOR", divisor);
        const int scaled = ReplaySoakSteps::scaledRounds(times);
        qunsetenv("ZUBREL_SOAK_DIVISOR");
        QCOMPARE(scaled, rounds);
    }
};

QTEST_MAIN(tst_ReplaySteps)
#include "tst_replaysteps.moc"
