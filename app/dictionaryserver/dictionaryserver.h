#pragma once
// A small HTTP server on the loopback interface that hands out spelling
// dictionaries the way the maker's download server does:
//   GET /tools/spelling/<code>/content  -> the language's file listing
//   GET /tools/spelling/<code>/<name>   -> one listed file
// Files come from <root>/<code>/<name>. The demo runs it as a process of its
// own; tests and benchmarks run it in-process and put canned replies (error
// pages, cut-off or stalled bodies) in front of the folder.

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTcpServer>

class QTcpSocket;

namespace zubrel {

class DictionaryServer : public QObject
{
    Q_OBJECT
public:
    struct Reply
    {
        int status = 200;
        QByteArray body;
        // Bytes of the body sent before the connection is cut (-1: all).
        qint64 cutAfter = -1;
        // Send the head and cutAfter bytes, then wait for releaseHeld().
        bool hold = false;
    };

    explicit DictionaryServer(QObject *parent = nullptr);
    ~DictionaryServer() override;

    // Listens on 127.0.0.1; port 0 picks a free one.
    bool listen(quint16 port = 0, QString *error = nullptr);
    quint16 port() const;
    QString url() const; // "http://127.0.0.1:<port>"

    void setRoot(const QString &folder) { m_root = folder; }
    QString root() const { return m_root; }

    // A canned reply for a path (percent-decoded, e.g.
    // "/tools/spelling/de/content"), used instead of the folder.
    void setReply(const QString &path, const Reply &reply);
    void clearReplies();
    // Finishes every held reply.
    void releaseHeld();

    // Request targets as received (still percent-encoded), oldest first.
    QStringList requests() const { return m_requests; }
    void clearRequests() { m_requests.clear(); }

signals:
    void requested(const QString &target);

private:
    void onConnection();
    void onReadable(QTcpSocket *socket);
    void answer(QTcpSocket *socket, const QByteArray &method, const QByteArray &target);
    Reply fromFolder(const QString &path) const;
    void send(QTcpSocket *socket, const Reply &reply, bool headOnly);

    struct Held
    {
        QPointer<QTcpSocket> socket;
        QByteArray rest;
    };

    QTcpServer m_server;
    QString m_root;
    QHash<QString, Reply> m_replies;
    QStringList m_requests;
    QList<Held> m_held;
};

} // namespace zubrel
