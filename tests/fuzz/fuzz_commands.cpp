// libFuzzer target: the chat module brought up the way the client does it
// (plug-in start, user information, contact directory ready), then every
// input is read as a sequence of network events: incoming commands for any
// registered command with any argument count, types, sizes and contact ids,
// answers and failures of the requests the module sent, chats closed under
// it. After each input every incoming request must have been answered.
//
//   fuzz_commands -max_total_time=120 corpus-copy tests/fuzz/corpus

#include <QApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QPointer>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <memory>

#include "chat.h"
#include "chatplugin.h"
#include "czubuddy_administrator.h"
#include "simulatednetwork.h"
#include "wrappluginhelper.h"
#include "zchat.h"
#include "zmodalscript.h"

using namespace zubrel;

namespace {

// The largest single value the fuzzer builds: big enough to cross the
// module's own size limits, small enough to keep thousands of runs a minute.
constexpr size_t MaxValueBytes = 256 * 1024;
// Events per input: longer sequences find little more and slow every run.
constexpr int MaxEvents = 64;
constexpr int MaxArgs = 10;

const char *const contactIds[] = {"1000", "2001", "2002", "2003", "2004", "2005",
                                  "2006", "2007", "0",    "99999", "-1", " 2001 ", "4294967295"};

// Pieces of message text a hostile contact would try.
const char *const fragments[] = {
    "<table><tr><td>", "</td></tr></table>", "<b><i><u><span style=\"font-size:999px\">",
    "<img src=\"file:///etc/passwd\">", "<img src=\"/dev/zero\">", "<img src=\"qrc:/x.png\" width=100000 height=100000>",
    "<img src=\"#1\">", "<img src=\"#2\">", "<a href=\"file:///etc\">x</a>", "<a href=\"http://x.invalid/\">l</a>",
    "http://www.example.com/ ", "www.x.de ", ":-) ;-) :D ", "%1 %10 %2", "<body background=\"/etc/passwd\">",
    "<div style=\"background-image:url(/proc/self/environ)\">", "&#0;&#xFFFF;&amp;&lt;", "\xF0\x9F\x98\x80",
    "<!--", "<![CDATA[", "<p dir=rtl>", "<ul><li><ol><li>", "<pre>", "\r\n\t", "<font color=#zzzzzz size=99>",
};

struct Harness
{
    QTemporaryDir profile;
    std::unique_ptr<QApplication> app;
    std::unique_ptr<ChatPlugin> plugin;
    WrapPluginHelper *helper = nullptr;
    QPointer<Chat> controller;

    SimulatedNetwork *network() const { return helper->simulatedNetwork(); }
};

Harness *harness = nullptr;

QJsonObject contact(int id, const char *nick, int status, int messenger = 1, int client = 1)
{
    return QJsonObject{{"id", id}, {"nick", nick}, {"status", status}, {"messenger", messenger}, {"client", client}};
}

void answerEverything()
{
    const auto ids = harness->helper->unfreedRequests();
    for (uint id : ids)
        harness->network()->succeed(id);
}

QVariant fuzzedValue(FuzzedDataProvider &in)
{
    switch (in.ConsumeIntegralInRange<int>(0, 11)) {
    case 0:
        return {};
    case 1:
        return in.ConsumeIntegral<int>();
    case 2:
        return in.ConsumeIntegralInRange<int>(-1, 6);
    case 3:
        return QString::fromLatin1(contactIds[in.ConsumeIntegralInRange<size_t>(0, std::size(contactIds) - 1)]);
    case 4:
        return QString::fromLatin1(contactIds[in.ConsumeIntegralInRange<size_t>(0, std::size(contactIds) - 1)]).toUInt();
    case 5:
        return QString::fromStdString(in.ConsumeRandomLengthString(MaxValueBytes));
    case 6: {
        const std::string bytes = in.ConsumeRandomLengthString(MaxValueBytes);
        return QByteArray(bytes.data(), qsizetype(bytes.size()));
    }
    case 7:
        return in.ConsumeFloatingPoint<double>();
    case 8:
        return in.ConsumeBool();
    case 9: {
        // Message text built of hostile pieces, repeated to any depth.
        QByteArray html;
        const int pieces = in.ConsumeIntegralInRange<int>(1, 16);
        for (int i = 0; i < pieces; ++i) {
            const QByteArray piece = fragments[in.ConsumeIntegralInRange<size_t>(0, std::size(fragments) - 1)];
            const int times = in.ConsumeIntegralInRange<int>(1, 2000);
            for (int t = 0; t < times && html.size() < qsizetype(MaxValueBytes); ++t)
                html += piece;
        }
        return html;
    }
    case 10: {
        // Picture and clip bytes: a known header and anything after it.
        static const QByteArray headers[] = {QByteArray("\x89PNG\r\n\x1a\n", 8), "GIF89a", "RIFF", "\xff\xd8\xff"};
        const std::string rest = in.ConsumeRandomLengthString(4096);
        return headers[in.ConsumeIntegralInRange<int>(0, 3)] + QByteArray(rest.data(), qsizetype(rest.size()));
    }
    default:
        return QVariantList{in.ConsumeIntegral<int>(), QString::fromStdString(in.ConsumeRandomLengthString(64))};
    }
}

// The fields the module reads (partner 9, message 10, file count 126,
// multi chat 632-637, random chat 688-707 ...): at random a fuzzer would
// hardly ever hit them.
const DataField knownFields[] = {0,   1,   2,   3,   9,   10,  57,  58,  126, 127, 128, 162, 631, 632,
                                 633, 634, 635, 636, 637, 652, 653, 657, 673, 688, 703, 706, 707, 720};

DataField fuzzedField(FuzzedDataProvider &in)
{
    switch (in.ConsumeIntegralInRange<int>(0, 3)) {
    case 0:
    case 1:
        return knownFields[in.ConsumeIntegralInRange<size_t>(0, std::size(knownFields) - 1)];
    case 2:
        return in.ConsumeIntegralInRange<DataField>(0, 15);
    default:
        return in.ConsumeIntegral<DataField>();
    }
}

QList<ProtocolArg> fuzzedArgs(FuzzedDataProvider &in)
{
    static const DataType types[] = {DataTypes::Flag, DataTypes::Count, DataTypes::WindowHandle,
                                     DataTypes::Identifier, DataTypes::Text};
    QList<ProtocolArg> args;
    const int count = in.ConsumeIntegralInRange<int>(0, MaxArgs);
    for (int i = 0; i < count; ++i) {
        const bool oddType = in.ConsumeIntegralInRange<int>(0, 15) == 0;
        const DataType type = oddType ? in.ConsumeIntegral<DataType>() : types[in.ConsumeIntegralInRange<int>(0, 4)];
        const DataField field = fuzzedField(in);
        args.append(ProtocolArg(type, field, fuzzedValue(in)));
    }
    return args;
}

// Every event reads the same bytes whatever the module's state, so a
// seed written for one event sequence stays that sequence.
void closeChats(FuzzedDataProvider &in, bool all)
{
    const uint8_t which = all ? 0 : in.ConsumeIntegral<uint8_t>();
    QList<QPointer<ZChat>> windows;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *chat = qobject_cast<ZChat *>(widget))
            windows.append(chat);
    }
    if (windows.isEmpty())
        return;
    if (!all) {
        const QPointer<ZChat> one = windows.at(which % windows.size());
        windows = {one};
    }
    for (const QPointer<ZChat> &chat : std::as_const(windows)) {
        if (chat)
            chat->close();
        delete chat.data();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void runEvent(FuzzedDataProvider &in)
{
    const QList<QPair<ushort, ushort>> commands = harness->helper->registeredCommands();
    switch (in.ConsumeIntegralInRange<int>(0, 9)) {
    case 0:
    case 1:
    case 2:
    case 3: {
        const auto command = commands.at(in.ConsumeIntegral<uint8_t>() % commands.size());
        const QList<ProtocolArg> args = fuzzedArgs(in);
        const ushort application = in.ConsumeIntegralInRange<ushort>(0, 3);
        harness->network()->inject(command.first, command.second, args, application);
        break;
    }
    case 4: {
        // A command nobody registered: the helper must drop it.
        const ushort a = in.ConsumeIntegral<ushort>();
        const ushort b = in.ConsumeIntegral<ushort>();
        const QList<ProtocolArg> args = fuzzedArgs(in);
        harness->network()->inject(a, b, args);
        break;
    }
    case 5: {
        // The network answers or fails one of the module's requests.
        const uint8_t which = in.ConsumeIntegral<uint8_t>();
        const bool succeed = in.ConsumeBool();
        const QList<ProtocolArg> args = succeed ? fuzzedArgs(in) : QList<ProtocolArg>();
        const ushort application = succeed ? in.ConsumeIntegralInRange<ushort>(0, 3) : 0;
        const QList<uint> pending = harness->helper->unfreedRequests();
        if (pending.isEmpty())
            break;
        const uint id = pending.at(which % pending.size());
        if (succeed)
            harness->network()->succeed(id, args, application);
        else
            harness->network()->fail(id);
        break;
    }
    case 6: {
        const bool all = in.ConsumeBool();
        closeChats(in, all);
        break;
    }
    case 7:
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        break;
    default: {
        // An open chat, so that later commands meet one.
        const char *id = contactIds[in.ConsumeIntegralInRange<size_t>(1, 7)];
        harness->network()->inject(1, 0xF0A0, {ProtocolArg(DataTypes::Identifier, 0, QString::fromLatin1(id))});
        break;
    }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    harness = new Harness;
    if (!harness->profile.isValid())
        std::abort();
    qputenv("ZUBREL_PROFILE", harness->profile.path().toUtf8());
    QStandardPaths::setTestModeEnabled(true);
    harness->app = std::make_unique<QApplication>(*argc, *argv);
    ZModalScript::instance()->setScripted(true);

    harness->helper = WrapPluginHelper::Instance();
    CZuBuddy_Administrator *directory = CZuBuddy_Administrator::Instance();
    const QJsonObject contacts{
        {"self", QJsonObject{{"id", 1000}, {"nick", "Me"}, {"status", 1}}},
        {"contacts", QJsonArray{contact(2001, "Anna", 1), contact(2002, "Bert", 0), contact(2003, "Phil", 1, 1, 0x21),
                                contact(2004, "Ivo", 1, 2), contact(2005, "Cleo", 1),
                                contact(2006, "Pia", 1, 1, 0x22), contact(2007, "Yan", 1, 4)}}};
    if (!directory->loadJson(contacts))
        std::abort();

    harness->plugin = std::make_unique<ChatPlugin>();
    harness->plugin->start();
    const SentRequest userInfo = harness->network()->lastSent(1, 2);
    harness->network()->succeed(userInfo.id, {ProtocolArg(DataTypes::Identifier, 0, 1000u)});
    directory->setReady();
    answerEverything(); // the mandator question
    harness->controller = harness->helper->findChild<Chat *>();
    if (!harness->controller || harness->helper->registeredCommands().isEmpty()) {
        std::fputs("fuzz_commands: the module did not come up\n", stderr);
        std::abort();
    }
    // libFuzzer ends with exit(): the module and the application go first,
    // as in the client, while Qt's own globals (Qt SQL's connections, which
    // the chat log closes with the application) still exist.
    std::atexit([] {
        delete harness;
        harness = nullptr;
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    for (int i = 0; i < MaxEvents && in.remaining_bytes() > 0; ++i)
        runEvent(in);
    QCoreApplication::processEvents();

    // The contract with the helper: every incoming request for a registered
    // command is answered, whatever arrived and whatever was closed (one
    // nobody registered never reaches the module).
    const QList<QPair<ushort, ushort>> registered = harness->helper->registeredCommands();
    for (uint id : harness->helper->unansweredRequests()) {
        const Request *request = harness->helper->request(id);
        const ProtocolCommand command = request ? request->protocol()->command() : ProtocolCommand();
        if (!registered.contains(qMakePair(command.a(), command.b())))
            continue;
        std::fprintf(stderr, "fuzz_commands: incoming request %u (%#x, %#x) was never answered\n", id,
                     command.a(), command.b());
        std::abort();
    }

    // A clean slate for the next input: no chats, no requests in flight.
    FuzzedDataProvider none(nullptr, 0);
    closeChats(none, true);
    answerEverything();
    harness->network()->clear();
    Chat::blockList.clear();
    Chat::hideList.clear();
    Chat::invisibleList.clear();
    return 0;
}
