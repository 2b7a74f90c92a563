#pragma once
// The pictures and clips received in one chat. They live in a folder of the
// chat's own under the user's temp folder (never the system's) and go when
// the chat closes, except those the chat log will show again when the chat
// is reopened. A sweep when the user logs in removes what earlier runs left.

#include <QObject>
#include <QSet>
#include <QString>

namespace zubrel {

class ZChatTab;

class ReceivedFiles : public QObject
{
    Q_OBJECT
public:
    // More attachments in one message are not written: the send limit lets
    // a message carry thousands of tiny references, and each would be a file.
    static constexpr int MaxFilesPerMessage = 50;

    // The tab's collection, made on first use. key names the chat's folder
    // (a contact id, "mc-<id>", "rc-<id>"); historyCount > 0 means the chat
    // log replays that many entries of this chat, so their files are kept.
    static ReceivedFiles *of(ZChatTab *tab, const QString &key, int historyCount);

    // Writes bytes to a new file in the chat's folder; its path, or empty
    // when it could not be written. Clips get ".wav" so players know them.
    QString store(const QByteArray &bytes);

    QString folder() const;

    // Whether attachment `number` (from 1) of `count` is worth writing: a
    // text shows only the attachments it refers to; a message without text
    // is a clip, which is its last attachment.
    static bool wanted(const QString &html, int number, int count);

    // Removes, for every chat folder no open chat uses, the files its chat
    // log does not show again. Run when the user's folders become known.
    static void sweep(int historyCount);
    static QString root();

    ~ReceivedFiles() override;

private:
    ReceivedFiles(ZChatTab *tab, const QString &key, int historyCount);
    static void release(const QString &folder, const QString &key, int historyCount);

    QString m_key;
    QString m_folder;
    int m_historyCount = 0;
    static QSet<QString> s_inUse;
};

} // namespace zubrel
