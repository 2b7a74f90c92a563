#include "receivedfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryFile>

#include <memory>

#include "zchatlogger.h"
#include "zchattab.h"
#include "zdir.h"
#include "zsafepath.h"

namespace zubrel {

QSet<QString> ReceivedFiles::s_inUse;

ReceivedFiles::ReceivedFiles(ZChatTab *tab, const QString &key, int historyCount)
    : QObject(tab)
    , m_key(key)
    , m_folder(ZSafePath::childPath(root(), key))
    , m_historyCount(historyCount)
{
    setObjectName(QStringLiteral("receivedFiles"));
    s_inUse.insert(m_key);
}

ReceivedFiles::~ReceivedFiles()
{
    s_inUse.remove(m_key);
    if (!m_folder.isEmpty())
        release(m_folder, m_key, m_historyCount);
}

QString ReceivedFiles::root()
{
    return ZDir::tempPath(false) + QStringLiteral("/received");
}

ReceivedFiles *ReceivedFiles::of(ZChatTab *tab, const QString &key, int historyCount)
{
    if (!tab)
        return nullptr;
    if (auto *files = tab->findChild<ReceivedFiles *>(QStringLiteral("receivedFiles"), Qt::FindDirectChildrenOnly))
        return files;
    return new ReceivedFiles(tab, key, historyCount);
}

QString ReceivedFiles::folder() const
{
    return m_folder;
}

QString ReceivedFiles::store(const QByteArray &bytes)
{
    // The name is always ours: nothing from the network becomes part of it.
    if (m_folder.isEmpty() || !QDir().mkpath(m_folder))
        return {};
    const QString suffix = bytes.startsWith("RIFF") ? QStringLiteral(".wav") : QString();
    QTemporaryFile file(m_folder + QStringLiteral("/zubrel-received-XXXXXX") + suffix);
    file.setAutoRemove(false); // the view shows it after this function
    if (!file.open() || file.write(bytes) != bytes.size()) {
        file.setAutoRemove(true);
        return {};
    }
    file.close();
    return file.fileName();
}

bool ReceivedFiles::wanted(const QString &html, int number, int count)
{
    if (html.isEmpty())
        return number == count;
    return html.contains(QStringLiteral("src=\"%%1\"").arg(number));
}

void ReceivedFiles::release(const QString &folder, const QString &key, int historyCount)
{
    // At exit the chat log has closed already; the next login's sweep
    // removes what is left then.
    if (!QCoreApplication::instance() || QCoreApplication::closingDown())
        return;
    QDir dir(folder);
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    QString shownAgain;
    // Only one-to-one chats are replayed from the log; multi and random
    // chats get a fresh log each time, so nothing of theirs is shown again.
    if (historyCount > 0 && !names.isEmpty()) {
        if (std::unique_ptr<ZChatLogger> logger{ZChatLogger::create(key, nullptr, ZChatLogger::OneToOneChat)}) {
            for (const MessageStruct &record : logger->lastMessages(historyCount))
                shownAgain += record.message;
        }
    }
    for (const QString &name : names) {
        if (!shownAgain.contains(QLatin1Char('/') + name))
            dir.remove(name);
    }
    QDir().rmdir(folder); // only when empty
}

void ReceivedFiles::sweep(int historyCount)
{
    const QString base = root();
    const QStringList keys = QDir(base).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QString &key : keys) {
        const QString folder = ZSafePath::childPath(base, key);
        if (folder.isEmpty() || s_inUse.contains(key) || QFileInfo(folder).isSymLink())
            continue;
        bool isContact = false;
        key.toUInt(&isContact);
        release(folder, key, isContact ? historyCount : 0);
    }
}

} // namespace zubrel
