#pragma once
// The dictionary installer: the user picks a language, the dialog downloads
// its listing and files from the dictionary server into the application's
// spelling folder, lists what is installed and removes what is no longer
// wanted. "Ok" accepts the dialog, and the caller then reloads the spelling
// engine. The server comes from the setting "dictionary_server" (group
// "spelling"); without one the dialog says so.

#include "zdialog2.h"

#include <QMap>
#include <QNetworkAccessManager>
#include <QPointer>
#include <QUrl>
#include <QVariantMap>
#include <memory>

namespace Ui {
class ZChatSpelling;
}

namespace zubrel {

class DictionaryDownload;

class ZChatSpelling : public ZDialog2
{
    Q_OBJECT
public:
    explicit ZChatSpelling(QWidget *parent = nullptr);
    ~ZChatSpelling() override;

    // Runs the dialog modally over parent (centred on it, or on the desktop)
    // and returns true when it ended accepted. installed receives the
    // dictionary the last successful install brought, "" when none. Scripted
    // runs take a "dialog" answer: {"remove": [names], "install": [language
    // names], "result": "ok" | "cancel"}; installs run to their end first.
    // Reported as a "dialog" event with the installed dictionaries and the
    // status line.
    static bool installDictionaries(QWidget *parent, QString *installed = nullptr);

    // The configured server; invalid when none or not an http(s) address.
    static QUrl server();
    // "German" (translated) -> "de"; "" for a text not in the table.
    static QString codeFor(const QString &language);

    bool isBusy() const { return !m_downloads.isEmpty(); }
    QString statusText() const;
    QString lastInstalled() const { return m_lastInstalled; }

signals:
    // Every download has ended (installed, failed or abandoned).
    void idle();

public slots:
    void slotSelectRemove();
    void slotSelectInstall();
    void slotInstall();
    void slotRealDownload(bool error);
    void slotRealDownloadAll(int id, bool error);
    void slotRemove();

protected:
    // However the dialog ends, downloads still running are abandoned.
    void done(int result) override;
    void changeEvent(QEvent *event) override;

private:
    void retranslate();
    void fillInstalled();
    void updateProgress();
    void setStatus(const QString &text);
    QString serverProblem() const;
    // Scripted runs: removes and installs as asked, then waits for the end.
    void runScript(const QVariantMap &answer);
    void abandonDownloads();

    std::unique_ptr<Ui::ZChatSpelling> m_ui;
    QNetworkAccessManager m_network;
    QString m_code; // language code of the last installation started
    QMap<int, QPointer<DictionaryDownload>> m_downloads;
    int m_nextId = 1;
    QString m_lastInstalled;
};

} // namespace zubrel
