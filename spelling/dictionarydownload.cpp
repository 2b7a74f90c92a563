#include "dictionarydownload.h"

#include "dictionarylisting.h"

#include <QDir>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSaveFile>

#include "zsafepath.h"

namespace zubrel {

namespace {

constexpr int transferTimeoutMs = 30000;

int httpStatus(QNetworkReply *reply)
{
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

// True when the answer so far may still be a good one.
bool isGoodSoFar(QNetworkReply *reply)
{
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    return !status.isValid() || status.toInt() == 200;
}

} // namespace

struct DictionaryDownload::File
{
    QString name;
    QPointer<QNetworkReply> reply;
    std::unique_ptr<QSaveFile> out;
    qint64 received = 0;
    qint64 total = 0;
    bool done = false;
};

DictionaryDownload::DictionaryDownload(QNetworkAccessManager *network, const QUrl &server, const QString &code,
                                       const QString &language, const QString &folder, QObject *parent)
    : QObject(parent)
    , m_network(network)
    , m_server(server)
    , m_code(code)
    , m_language(language)
    , m_folder(folder)
{
}

DictionaryDownload::~DictionaryDownload()
{
    abort();
}

QUrl DictionaryDownload::urlFor(const QUrl &server, const QString &path)
{
    QUrl url = server;
    QString base = server.path();
    while (base.endsWith(u'/'))
        base.chop(1);
    // Decoded mode: a name with "%", "?" or "#" stays one path segment.
    url.setPath(base + path, QUrl::DecodedMode);
    url.setQuery(QString());
    url.setFragment(QString());
    return url;
}

QNetworkReply *DictionaryDownload::get(const QString &path)
{
    QNetworkRequest request(urlFor(m_server, path));
    request.setTransferTimeout(transferTimeoutMs);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::SameOriginRedirectPolicy);
    QNetworkReply *reply = m_network->get(request);
    // Ends with this download: an abandoned install stops its transfers.
    reply->setParent(this);
    return reply;
}

void DictionaryDownload::start()
{
    if (m_running || !m_network)
        return;
    m_running = true;
    m_error.clear();
    m_listingData.clear();
    m_listing = get(QStringLiteral("/tools/spelling/%1/content").arg(m_code));
    connect(m_listing, &QNetworkReply::readyRead, this, [this] {
        if (!isGoodSoFar(m_listing))
            return;
        m_listingData += m_listing->readAll();
        if (m_listingData.size() > DictionaryListing::maxSize)
            fail(tr("the file listing is larger than %1 KB").arg(DictionaryListing::maxSize / 1024));
    });
    connect(m_listing, &QNetworkReply::finished, this, &DictionaryDownload::onListing);
}

void DictionaryDownload::onListing()
{
    if (!m_running || !m_listing)
        return;
    QNetworkReply *reply = m_listing;
    reply->deleteLater();
    if (reply->error() != QNetworkReply::NoError || httpStatus(reply) != 200) {
        fail(replyError(reply, tr("the file listing")));
        return;
    }
    m_listingData += reply->readAll();
    if (m_listingData.size() > DictionaryListing::maxSize) {
        fail(tr("the file listing is larger than %1 KB").arg(DictionaryListing::maxSize / 1024));
        return;
    }
    const DictionaryListing listing = DictionaryListing::parse(m_listingData);
    m_names = listing.names;
    m_refused = listing.refused;
    if (m_names.isEmpty()) {
        fail(m_refused.isEmpty() ? tr("the server lists no files") : tr("the server lists no usable file names"));
        return;
    }
    if (m_names.size() > DictionaryListing::maxFiles) {
        fail(tr("the server lists more than %1 files").arg(DictionaryListing::maxFiles));
        return;
    }
    if (!QDir().mkpath(m_folder)) {
        fail(tr("the spelling folder cannot be written"));
        return;
    }
    emit listed(false);
    for (const QString &name : std::as_const(m_names)) {
        auto file = std::make_unique<File>();
        file->name = name;
        // Listed names were checked when parsed; this is the one check every
        // name from outside passes before it becomes a path.
        const QString target = ZSafePath::childPath(m_folder, name);
        file->out = std::make_unique<QSaveFile>(target);
        if (target.isEmpty() || !file->out->open(QIODevice::WriteOnly)) {
            fail(tr("the spelling folder cannot be written"));
            return;
        }
        File *raw = file.get();
        m_files.push_back(std::move(file));
        raw->reply = get(QStringLiteral("/tools/spelling/%1/%2").arg(m_code, name));
        connect(raw->reply, &QNetworkReply::metaDataChanged, this, [this, raw] {
            const qint64 length = raw->reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
            if (isGoodSoFar(raw->reply) && length > maxFileSize)
                fail(tr("%1 is larger than %2 MB").arg(raw->name).arg(maxFileSize / (1024 * 1024)));
            else
                raw->total = qMax<qint64>(length, 0);
        });
        connect(raw->reply, &QNetworkReply::readyRead, this, [this, raw] { onFileData(raw); });
        connect(raw->reply, &QNetworkReply::finished, this, [this, raw] { onFileDone(raw); });
    }
}

void DictionaryDownload::onFileData(File *file)
{
    // An error page is never written, not even to the temporary file.
    if (!m_running || !file->reply || !isGoodSoFar(file->reply))
        return;
    const QByteArray data = file->reply->readAll();
    file->received += data.size();
    if (file->received > maxFileSize) {
        fail(tr("%1 is larger than %2 MB").arg(file->name).arg(maxFileSize / (1024 * 1024)));
        return;
    }
    if (file->out->write(data) != data.size()) {
        fail(tr("the spelling folder cannot be written"));
        return;
    }
    emit progress();
}

void DictionaryDownload::onFileDone(File *file)
{
    if (!m_running || !file->reply)
        return;
    QNetworkReply *reply = file->reply;
    if (reply->error() != QNetworkReply::NoError || httpStatus(reply) != 200) {
        fail(replyError(reply, file->name));
        return;
    }
    onFileData(file);
    if (!m_running)
        return;
    file->done = true;
    file->total = file->received;
    reply->deleteLater();
    for (const auto &each : m_files) {
        if (!each->done)
            return;
    }
    finish();
}

void DictionaryDownload::finish()
{
    for (const auto &file : m_files) {
        if (!file->out->commit()) {
            fail(tr("the spelling folder cannot be written"));
            return;
        }
    }
    m_files.clear();
    m_running = false;
    emit progress();
    emit finished(false);
}

void DictionaryDownload::fail(const QString &message)
{
    if (!m_running)
        return;
    abort();
    m_error = message;
    emit finished(true);
}

void DictionaryDownload::abort()
{
    m_running = false;
    auto stop = [this](QNetworkReply *reply) {
        if (!reply)
            return;
        // Aborting emits finished() at once: nobody here listens any more.
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    };
    stop(m_listing);
    for (const auto &file : m_files) {
        stop(file->reply);
        // Never committed: the temporary file goes, the installed one stays.
        file->out->cancelWriting();
    }
    m_files.clear();
}

qint64 DictionaryDownload::received() const
{
    qint64 sum = 0;
    for (const auto &file : m_files)
        sum += file->received;
    return sum;
}

qint64 DictionaryDownload::total() const
{
    qint64 sum = 0;
    for (const auto &file : m_files)
        sum += qMax(file->total, file->received);
    return sum;
}

QString DictionaryDownload::replyError(QNetworkReply *reply, const QString &what) const
{
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid() && status.toInt() != 200) {
        return tr("the server answered %1 %2 for %3")
            .arg(status.toInt())
            .arg(reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString(), what);
    }
    switch (reply->error()) {
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::TimeoutError:
    case QNetworkReply::UnknownNetworkError:
        return tr("the dictionary server cannot be reached");
    default:
        return tr("%1 could not be downloaded (%2)").arg(what, reply->errorString());
    }
}

} // namespace zubrel
