#include "demolonghistory.h"

#include <QDateTime>
#include <QFile>
#include <QPluginLoader>
#include <QStringList>

#include <iterator>

#include "zdir.h"
#include "zloggerinterfaces.h"

namespace zubrel {

namespace {
// Sentences with words worth searching for, some with markup and entities
// as messages written in the client have.
const char *const sentences[] = {
    "Did you see the aurora last night?",
    "Let's meet at the <b>café</b> near the station.",
    "The zephyr maps are in the shared folder.",
    "Bring the umbrella, it will rain &amp; blow.",
    "I'm reading about lighthouses again.",
    "<i>Reminder:</i> the quarterly report is due on Friday.",
    "Tea or coffee? Both, obviously.",
    "The train was late, as usual (twenty minutes).",
    "Have you tried the new C++ compiler?",
    "Happy birthday! 🎂",
    "Send me the photos from the mountain trip.",
    "See you tomorrow — same time, same place.",
};
} // namespace

bool DemoLongHistory::fill(const QString &profile, uint user, uint contact, const QString &alias, QString *error)
{
    const QString marker = profile + QStringLiteral("/long-history-%1.done").arg(contact);
    if (QFile::exists(marker))
        return true;
    // The plug-in the module loads later: its root object is shared, so the
    // module finds these records (written or still waiting) when it opens.
    QPluginLoader loader(ZDir::applicationPath() + QStringLiteral("/plugins/log/chatlogger.so"));
    QObject *root = loader.instance();
    auto *logger = qobject_cast<ZLoggerInterface *>(root);
    auto *chatLogger = qobject_cast<ZChatLoggerInterface *>(root);
    if (!logger || !chatLogger) {
        *error = QStringLiteral("--long-history needs the chat-log plug-in: %1").arg(loader.errorString());
        return false;
    }
    logger->setUserId(QString::number(user));
    const QDateTime start = QDateTime::currentDateTime().addDays(-records / 24 - 1);
    const int count = int(std::size(sentences));
    for (int n = 0; n < records; ++n) {
        MessageStruct m;
        m.contact = QString::number(contact);
        m.time = start.addSecs(qint64(n) * 3600 + (n * 7919) % 3000);
        // Every sentence in turn, the order shifting each round.
        m.message = QStringLiteral("%1 (message %2)").arg(QString::fromUtf8(sentences[(n * 5 + n / count) % count]))
                        .arg(n + 1);
        m.alias = alias;
        m.chatKind = 1;
        m.direction = n % 3 == 0 ? Zr::Sent : Zr::Received;
        chatLogger->appendMessage(m);
    }
    QFile done(marker);
    done.open(QIODevice::WriteOnly);
    return true;
}

} // namespace zubrel
