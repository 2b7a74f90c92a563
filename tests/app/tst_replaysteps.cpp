// Replay steps and the state dump against a stand-in controller and chat
// window built here, so the host's side is checked whatever the module's
// windows look like today: registry look-up, chat keys, properties read
// through the meta-object, key presses, menus, cards, closing, and the
// errors that end a replay.

#include <QAction>
#include <QDir>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMainWindow>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTextEdit>

#include "chatstatereader.h"
#include "hosttracer.h"
#include "modulehost.h"
#include "replayrunner.h"
#include "tracewriter.h"
#include "wrappluginhelper.h"
#include "zcontactcard.h"
#include "zcontactcardlist.h"
#include "zdir.h"
#include "zhostevents.h"
#include "zmodalscript.h"
#include "zstatusbar.h"

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
    Q_PROPERTY(bool noLog READ noLog)
    Q_PROPERTY(bool encrypted READ encrypted)
    Q_PROPERTY(uint multichatId READ multichatId)
public:
    explicit ZChatTab(QWidget *parent = nullptr) : QWidget(parent) {}
    bool noLog() const { return true; }
    bool encrypted() const { return false; }
    uint multichatId() const { return 0xFFFFFFFF; }
};

} // namespace zubrel

using namespace zubrel;

namespace {

// A window that takes dropped files, as chat windows do.
class DropWindow : public QWidget
{
public:
    DropWindow() { setAcceptDrops(true); }
    QList<QUrl> dropped;

protected:
    void dragEnterEvent(QDragEnterEvent *event) override
    {
        if (event->mimeData()->hasUrls())
            event->acceptProposedAction();
    }
    void dropEvent(QDropEvent *event) override { dropped = event->mimeData()->urls(); }
};

} // namespace

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
    QPointer<ZContactCard> m_card;
    QPointer<ZContactCard> m_own;
    QAction *m_closeAction = nullptr;
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
        m_window->setWindowTitle(QStringLiteral("Echo - Online"));
        m_closeAction = m_window->menuBar()->addMenu(QStringLiteral("&Chat"))->addAction(QStringLiteral("&Close window\tCtrl+W"));
        auto *tabs = new QTabWidget(m_window);
        auto *tab = new ZChatTab;
        tabs->addTab(tab, QStringLiteral("Echo"));
        m_input = new QTextEdit(tab);
        m_input->setObjectName(QStringLiteral("input"));
        auto *view = new QTextBrowser(tab);
        view->setObjectName(QStringLiteral("view"));
        view->setPlainText(QStringLiteral("Echo: hello"));
        auto *list = new ZContactCardList(tab);
        list->setObjectName(QStringLiteral("cardList"));
        m_card = new ZContactCard;
        m_card->setZubrelId(QStringLiteral("2001"));
        m_card->setAlias(QStringLiteral("Echo"));
        m_card->setStatus(2);
        m_card->setMobile(true);
        m_card->addAction(QStringLiteral("wave"), QStringLiteral("Wave"));
        list->addCard(m_card);
        m_own = new ZContactCard(tab);
        m_own->setObjectName(QStringLiteral("ownCard"));
        m_own->setZubrelId(QStringLiteral("1000"));
        m_own->setAlias(QStringLiteral("Tester"));
        m_window->setCentralWidget(tabs);
        auto *statusBar = new ZStatusBar(m_window);
        statusBar->setMessage(QStringLiteral("Echo is typing"));
        m_window->setStatusBar(statusBar);
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

    void stateReadsWindowsTabsAndCards()
    {
        m_input->setPlainText(QStringLiteral("draft"));
        QVERIFY(step(R"({"do": "dump"})"));
        const QJsonObject state = lastEvent(QStringLiteral("state"));
        const QJsonObject chat = state.value(QLatin1String("chats")).toArray().at(0).toObject();
        QCOMPARE(chat.value(QLatin1String("key")).toString(), QStringLiteral("2001"));
        QCOMPARE(chat.value(QLatin1String("kind")).toString(), QStringLiteral("chat"));
        QCOMPARE(chat.value(QLatin1String("title")).toString(), QStringLiteral("Echo - Online"));
        QCOMPARE(chat.value(QLatin1String("visible")).toBool(), true);
        QCOMPARE(chat.value(QLatin1String("geometry")).toArray().at(2).toInt(), 400);
        QCOMPARE(chat.value(QLatin1String("statusBar")).toString(), QStringLiteral("Echo is typing"));
        const QJsonObject tab = chat.value(QLatin1String("tabs")).toArray().at(0).toObject();
        QCOMPARE(tab.value(QLatin1String("title")).toString(), QStringLiteral("Echo"));
        QCOMPARE(tab.value(QLatin1String("noLog")).toBool(), true);
        QCOMPARE(tab.value(QLatin1String("encrypted")).toBool(true), false);
        QCOMPARE(tab.value(QLatin1String("multichatId")).toDouble(), 4294967295.0);
        QVERIFY(tab.value(QLatin1String("randomChat")).isNull()); // not declared by this tab
        QCOMPARE(tab.value(QLatin1String("input")).toString(), QStringLiteral("draft"));
        QCOMPARE(tab.value(QLatin1String("view")).toString(), QStringLiteral("Echo: hello"));
        const QJsonObject card = tab.value(QLatin1String("cards")).toArray().at(0).toObject();
        QCOMPARE(card.value(QLatin1String("id")).toString(), QStringLiteral("2001"));
        QCOMPARE(card.value(QLatin1String("status")).toInt(), 2);
        QCOMPARE(card.value(QLatin1String("mobile")).toBool(), true);
        QCOMPARE(tab.value(QLatin1String("own")).toObject().value(QLatin1String("alias")).toString(),
                 QStringLiteral("Tester"));
        const QJsonObject registry = state.value(QLatin1String("registry")).toObject();
        QCOMPARE(registry.value(QLatin1String("chats")).toArray(), QJsonArray{QStringLiteral("2001")});
        QCOMPARE(registry.value(QLatin1String("cards")).toObject().value(QLatin1String("2001")).toInt(), 1);
        QCOMPARE(registry.value(QLatin1String("requestTabs")).toInt(), 3);
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

    void menuEntriesMatchWithoutMnemonicsAndShortcuts()
    {
        QSignalSpy triggered(m_closeAction, &QAction::triggered);
        QVERIFY(step(R"({"do": "menu", "chat": "2001", "text": "&Close window"})"));
        QVERIFY(step(R"({"do": "menu", "chat": "2001", "text": "Close window"})"));
        QCOMPARE(triggered.size(), 2);
        QString error;
        QVERIFY(!step(R"({"do": "menu", "chat": "2001", "text": "Fly away"})", &error));
        QVERIFY(error.contains(QLatin1String("Fly away")));
    }

    void cardStepsUseTheCardsOwnEntries()
    {
        QSignalSpy actions(m_card.data(), &ZContactCard::actionId);
        QSignalSpy avatar(m_own.data(), &ZContactCard::avatarClicked);
        QVERIFY(step(R"({"do": "card", "chat": "2001", "id": "2001", "action": "wave"})"));
        QCOMPARE(actions.size(), 1);
        QCOMPARE(actions.at(0).at(0).toString(), QStringLiteral("wave"));
        QVERIFY(step(R"({"do": "card", "chat": "2001", "id": "own", "click": "avatar"})"));
        QCOMPARE(avatar.size(), 1);
        QString error;
        QVERIFY(!step(R"({"do": "card", "chat": "2001", "id": "2001", "action": "explode"})", &error));
        QVERIFY(!step(R"({"do": "card", "chat": "2001", "id": "3003", "action": "wave"})", &error));
        QVERIFY(error.contains(QLatin1String("3003")));
    }

    void linksReachTheView()
    {
        auto *view = m_window->findChild<QTextBrowser *>(QStringLiteral("view"));
        QSignalSpy clicked(view, &QTextBrowser::anchorClicked);
        QVERIFY(step("{\"do\": \"link\", \"chat\": \"2001\", \"url\": \"http://example.org/x\"}"));
        QCOMPARE(clicked.size(), 1);
        QCOMPARE(clicked.at(0).at(0).toUrl(), QUrl(QStringLiteral("http://example.org/x")));
    }

    void dropsFollowAnAcceptedDrag()
    {
        DropWindow window;
        m_chat->windows.insert(QStringLiteral("3003"), &window);
        QVERIFY(step(R"({"do": "drop", "chat": "3003", "files": ["a.png", "/tmp/b.txt"]})"));
        QCOMPARE(window.dropped.size(), 2);
        QVERIFY(window.dropped.at(0).isLocalFile());
        QVERIFY(QDir::isAbsolutePath(window.dropped.at(0).toLocalFile())); // relative to the script
        QCOMPARE(window.dropped.at(1).toLocalFile(), QStringLiteral("/tmp/b.txt"));
        m_chat->windows.remove(QStringLiteral("3003"));
    }

    void closeHidesTheWindow()
    {
        QVERIFY(step(R"({"do": "close", "chat": "2001"})"));
        QVERIFY(!m_window->isVisible());
    }

    void hostEventsNameTheirChat()
    {
        ZHostEvents::instance()->report(QStringLiteral("flash"),
                                        {{QStringLiteral("widget"), QVariant::fromValue<QObject *>(m_input.data())}});
        QCOMPARE(lastEvent(QStringLiteral("flash")).value(QLatin1String("chat")).toString(), QStringLiteral("2001"));
    }

    void incomingCommandsAreDeliveredAndTraced()
    {
        QVERIFY(step(R"({"do": "in", "cmd": [4, 32771], "app": 7, "args": [[6, 9, "2001"]]})"));
        const QJsonObject received = lastEvent(QStringLiteral("received"));
        QCOMPARE(received.value(QLatin1String("cmd")).toArray(), (QJsonArray{4, 32771}));
        QCOMPARE(received.value(QLatin1String("app")).toInt(), 7);
        QCOMPARE(received.value(QLatin1String("args")).toArray().at(0).toArray().at(2).toObject().value(QLatin1String("s")).toString(),
                 QStringLiteral("2001"));
        // Nobody answers it here: the books say so.
        const uint id = uint(received.value(QLatin1String("req")).toDouble());
        QVERIFY(WrapPluginHelper::Instance()->unansweredRequests().contains(id));
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
};

QTEST_MAIN(tst_ReplaySteps)
#include "tst_replaysteps.moc"
