#pragma once
// Installs one language from a dictionary server: fetches the language's
// listing, then every listed file, into the spelling folder. The language
// code belongs to this download, so several languages can be on their way at
// once without mixing up their files.
//
// A language is installed whole or not at all: each file streams into a
// temporary file next to its place, and only when every file arrived with
// HTTP 200 within the size cap are they renamed into place. An error page, a
// cut connection or an abandoned download never replaces an installed file.

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QUrl>
#include <memory>
#include <vector>

class QNetworkAccessManager;
class QNetworkReply;
class QSaveFile;

namespace zubrel {

class DictionaryDownload : public QObject
{
    Q_OBJECT
public:
    // Largest dictionary file accepted (the biggest Debian ones are ~3 MB).
    static constexpr qint64 maxFileSize = 8 * 1024 * 1024;

    DictionaryDownload(QNetworkAccessManager *network, const QUrl &server, const QString &code,
                       const QString &language, const QString &folder, QObject *parent = nullptr);
    ~DictionaryDownload() override;

    void start();
    // Stops every transfer and discards what arrived; emits nothing.
    void abort();

    QString code() const { return m_code; }
    QString language() const { return m_language; }
    bool isRunning() const { return m_running; }
    // After finished(): empty on success, else one line for the user.
    QString error() const { return m_error; }
    QStringList files() const { return m_names; }  // as listed
    QStringList refused() const { return m_refused; } // unsafe names skipped
    qint64 received() const;
    qint64 total() const;

    // The URL of a path on the server, keeping a path prefix of the server's.
    static QUrl urlFor(const QUrl &server, const QString &path);

signals:
    void listed(bool error);
    void progress();
    void finished(bool error);

private:
    struct File;
    QNetworkReply *get(const QString &path);
    void onListing();
    void onFileData(File *file);
    void onFileDone(File *file);
    void fail(const QString &message);
    void finish();
    QString replyError(QNetworkReply *reply, const QString &what) const;

    QPointer<QNetworkAccessManager> m_network;
    QUrl m_server;
    QString m_code;
    QString m_language;
    QString m_folder;
    bool m_running = false;
    QString m_error;
    QStringList m_names;
    QStringList m_refused;
    QPointer<QNetworkReply> m_listing;
    QByteArray m_listingData;
    std::vector<std::unique_ptr<File>> m_files;
};

} // namespace zubrel
