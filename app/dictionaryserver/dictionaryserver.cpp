#include "dictionaryserver.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QUrl>
#include <utility>

namespace zubrel {

namespace {

constexpr qsizetype maxRequestHead = 8 * 1024;
const QString prefix = QStringLiteral("/tools/spelling/");

QByteArray reason(int status)
{
    switch (status) {
    case 200: return "OK";
    case 400: return "Bad Request";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 500: return "Internal Server Error";
    default: return "Status";
    }
}

DictionaryServer::Reply page(int status)
{
    DictionaryServer::Reply reply;
    reply.status = status;
    reply.body = QByteArray::number(status) + ' ' + reason(status) + '\n';
    return reply;
}

// A plain file name: the server never serves anything outside its folder.
bool isPlainName(const QString &name)
{
    return !name.isEmpty() && !name.startsWith(u'.') && !name.contains(u'/') && !name.contains(u'\\')
        && !name.contains(QChar(0));
}

} // namespace

DictionaryServer::DictionaryServer(QObject *parent)
    : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, &DictionaryServer::onConnection);
}

DictionaryServer::~DictionaryServer() = default;

bool DictionaryServer::listen(quint16 port, QString *error)
{
    if (m_server.listen(QHostAddress::LocalHost, port))
        return true;
    if (error)
        *error = m_server.errorString();
    return false;
}

quint16 DictionaryServer::port() const
{
    return m_server.serverPort();
}

QString DictionaryServer::url() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(port());
}

void DictionaryServer::setReply(const QString &path, const Reply &reply)
{
    m_replies.insert(path, reply);
}

void DictionaryServer::clearReplies()
{
    m_replies.clear();
}

void DictionaryServer::releaseHeld()
{
    const QList<Held> held = std::exchange(m_held, {});
    for (const Held &entry : held) {
        if (!entry.socket)
            continue;
        entry.socket->write(entry.rest);
        entry.socket->disconnectFromHost();
    }
}

void DictionaryServer::onConnection()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadable(socket); });
    }
}

void DictionaryServer::onReadable(QTcpSocket *socket)
{
    // One request per connection: the head is read once, the rest ignored.
    if (socket->property("answered").toBool()) {
        socket->readAll();
        return;
    }
    QByteArray head = socket->property("head").toByteArray() + socket->readAll();
    const qsizetype end = head.indexOf("\r\n\r\n");
    if (end < 0) {
        if (head.size() > maxRequestHead) {
            socket->setProperty("answered", true);
            send(socket, page(400), false);
            return;
        }
        socket->setProperty("head", head);
        return;
    }
    socket->setProperty("answered", true);
    const QList<QByteArray> requestLine = head.left(head.indexOf("\r\n")).split(' ');
    if (requestLine.size() != 3 || !requestLine.at(2).startsWith("HTTP/1.")) {
        send(socket, page(400), false);
        return;
    }
    answer(socket, requestLine.at(0), requestLine.at(1));
}

void DictionaryServer::answer(QTcpSocket *socket, const QByteArray &method, const QByteArray &target)
{
    m_requests.append(QString::fromLatin1(target));
    emit requested(m_requests.last());
    const bool head = method == "HEAD";
    if (method != "GET" && !head) {
        send(socket, page(405), false);
        return;
    }
    const QString path = QUrl::fromPercentEncoding(target);
    send(socket, m_replies.contains(path) ? m_replies.value(path) : fromFolder(path), head);
}

DictionaryServer::Reply DictionaryServer::fromFolder(const QString &path) const
{
    if (!path.startsWith(prefix) || m_root.isEmpty())
        return page(404);
    const QStringList parts = path.mid(prefix.size()).split(u'/');
    static const QRegularExpression code(QStringLiteral("^[a-z]{2}$"));
    if (parts.size() != 2 || !code.match(parts.at(0)).hasMatch() || !isPlainName(parts.at(1)))
        return page(404);
    QFile file(QDir(m_root).filePath(parts.at(0) + u'/' + parts.at(1)));
    if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly))
        return page(404);
    Reply reply;
    reply.body = file.readAll();
    return reply;
}

void DictionaryServer::send(QTcpSocket *socket, const Reply &reply, bool headOnly)
{
    const QByteArray type = reply.status == 200 ? "application/octet-stream" : "text/plain";
    socket->write("HTTP/1.1 " + QByteArray::number(reply.status) + ' ' + reason(reply.status)
                  + "\r\nContent-Type: " + type + "\r\nContent-Length: " + QByteArray::number(reply.body.size())
                  + "\r\nConnection: close\r\n\r\n");
    if (headOnly) {
        socket->disconnectFromHost();
        return;
    }
    const qint64 sent = reply.cutAfter < 0 ? reply.body.size() : qMin<qint64>(reply.cutAfter, reply.body.size());
    socket->write(reply.body.left(sent));
    if (reply.hold) {
        m_held.append({socket, reply.body.mid(sent)});
        return;
    }
    if (sent < reply.body.size()) {
        // A cut connection: flush what was promised so far, then drop it.
        socket->flush();
        socket->abort();
        return;
    }
    socket->disconnectFromHost();
}

} // namespace zubrel
