#include "zchatspelling.h"

#include "dialogrunner.h"
#include "dictionarydownload.h"
#include "dictionaryfolder.h"
#include "ui_zchatspelling.h"
#include "zdesktop.h"
#include "zsettings.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QLocale>
#include <QTimer>

namespace zubrel {

namespace {

struct Language
{
    const char *name;
    const char *code;
    bool offered;
};

// Spanish has a code on the server but is not offered.
constexpr Language languages[] = {
    {QT_TRANSLATE_NOOP("ZChatSpelling", "English"), "en", true},
    {QT_TRANSLATE_NOOP("ZChatSpelling", "French"), "fr", true},
    {QT_TRANSLATE_NOOP("ZChatSpelling", "German"), "de", true},
    {QT_TRANSLATE_NOOP("ZChatSpelling", "Spanish"), "se", false},
};

// The names are marked in the dialog form's context, not the class's.
QString languageName(const Language &entry)
{
    return QCoreApplication::translate("ZChatSpelling", entry.name);
}

const QString settingsGroup = QStringLiteral("spelling");
const QString serverKey = QStringLiteral("dictionary_server");
// A scripted run that the server never finishes still ends.
constexpr int scriptedWaitMs = 60000;

QString displayName(const QString &dictionary)
{
    const QLocale locale(dictionary);
    if (locale.language() == QLocale::C)
        return dictionary;
    return QStringLiteral("%1 (%2)").arg(QLocale::languageToString(locale.language()), dictionary);
}

QStringList toList(const QVariant &value)
{
    return value.typeId() == QMetaType::QString ? QStringList{value.toString()} : value.toStringList();
}

} // namespace

ZChatSpelling::ZChatSpelling(QWidget *parent)
    : ZDialog2(parent)
    , m_ui(std::make_unique<Ui::ZChatSpelling>())
{
    m_ui->setupUi(this);
    retranslate();
    resize(300, 300);
    connect(m_ui->lstInstalled, &QListWidget::itemSelectionChanged, this, &ZChatSpelling::slotSelectRemove);
    connect(m_ui->btnInstall, &QPushButton::clicked, this, &ZChatSpelling::slotInstall);
    connect(m_ui->lstAll, &QListWidget::itemSelectionChanged, this, &ZChatSpelling::slotSelectInstall);
    connect(m_ui->btnRemove, &QPushButton::clicked, this, &ZChatSpelling::slotRemove);
    // Ok accepts: only an accepted dialog makes the caller reload the engine.
    connect(m_ui->btnOk, &QPushButton::clicked, this, &ZChatSpelling::accept);
    m_ui->showProgress->setRange(0, 100);
    fillInstalled();
    setStatus(serverProblem());
}

ZChatSpelling::~ZChatSpelling()
{
    abandonDownloads();
}

QUrl ZChatSpelling::server()
{
    QString text = ZSettings::instance()->get(serverKey, QString(), settingsGroup).toString().trimmed();
    if (text.isEmpty())
        return {};
    if (!text.contains(QLatin1String("://")))
        text.prepend(QLatin1String("http://"));
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return {};
    return url;
}

QString ZChatSpelling::serverProblem() const
{
    if (server().isValid())
        return {};
    if (ZSettings::instance()->get(serverKey, QString(), settingsGroup).toString().trimmed().isEmpty())
        return tr("No dictionary server is configured (setting \"%1\" in group \"%2\").").arg(serverKey, settingsGroup);
    return tr("The dictionary server setting is not an http address.");
}

QString ZChatSpelling::codeFor(const QString &language)
{
    for (const Language &entry : languages) {
        if (languageName(entry) == language)
            return QString::fromLatin1(entry.code);
    }
    return {};
}

QString ZChatSpelling::statusText() const
{
    return m_ui->lblStatus->text();
}

void ZChatSpelling::retranslate()
{
    m_ui->retranslateUi(this);
    ZDialog2::setWindowTitle(tr("Install dictionaries"));
    m_ui->lstAll->clear();
    for (const Language &entry : languages) {
        if (entry.offered)
            m_ui->lstAll->addItem(languageName(entry));
    }
    fillInstalled();
}

void ZChatSpelling::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    ZDialog2::changeEvent(event);
}

void ZChatSpelling::fillInstalled()
{
    m_ui->lstInstalled->clear();
    for (const QString &name : DictionaryFolder::installed()) {
        auto *item = new QListWidgetItem(displayName(name), m_ui->lstInstalled);
        item->setData(Qt::UserRole, name);
    }
    slotSelectRemove();
}

void ZChatSpelling::slotSelectRemove()
{
    m_ui->btnRemove->setEnabled(m_ui->lstInstalled->currentItem() != nullptr);
}

void ZChatSpelling::slotSelectInstall()
{
    m_ui->btnInstall->setEnabled(m_ui->lstAll->currentItem() != nullptr);
}

void ZChatSpelling::slotInstall()
{
    const QListWidgetItem *item = m_ui->lstAll->currentItem();
    if (!item)
        return;
    const QString language = item->text();
    const QString code = codeFor(language);
    if (!code.isEmpty())
        m_code = code;
    if (m_code.isEmpty())
        return;
    if (!server().isValid()) {
        setStatus(serverProblem());
        return;
    }
    int newLanguages = 0;
    for (const auto &download : std::as_const(m_downloads)) {
        if (download && download->code() == m_code) {
            setStatus(tr("%1 is already being downloaded.").arg(language));
            return;
        }
        if (download && DictionaryFolder::ofLanguage(download->code()).isEmpty())
            ++newLanguages;
    }
    // Updating an installed language is always allowed; a new one needs room.
    if (DictionaryFolder::ofLanguage(m_code).isEmpty()
        && DictionaryFolder::installed().size() + newLanguages >= DictionaryFolder::maxInstalled) {
        setStatus(tr("At most %1 dictionaries can be installed: remove one first.").arg(DictionaryFolder::maxInstalled));
        return;
    }
    const int id = m_nextId++;
    auto *download = new DictionaryDownload(&m_network, server(), m_code, language, DictionaryFolder::path(), this);
    m_downloads.insert(id, download);
    connect(download, &DictionaryDownload::listed, this, &ZChatSpelling::slotRealDownload);
    connect(download, &DictionaryDownload::progress, this, &ZChatSpelling::updateProgress);
    connect(download, &DictionaryDownload::finished, this, [this, id](bool error) { slotRealDownloadAll(id, error); });
    setStatus(tr("Downloading %1...").arg(language));
    m_ui->showProgress->setValue(0);
    download->start();
}

void ZChatSpelling::slotRealDownload(bool error)
{
    Q_UNUSED(error) // a failed listing ends its download, reported there
    updateProgress();
}

void ZChatSpelling::slotRealDownloadAll(int id, bool error)
{
    const QPointer<DictionaryDownload> download = m_downloads.take(id);
    if (!download)
        return;
    if (error) {
        setStatus(tr("%1: %2.").arg(download->language(), download->error()));
    } else {
        for (const QString &file : download->files()) {
            if (file.endsWith(QLatin1String(".dic")))
                m_lastInstalled = file.chopped(4);
        }
        QString text = tr("%1 installed.").arg(download->language());
        if (!download->refused().isEmpty())
            text += u' ' + tr("%n unsafe file name(s) refused.", nullptr, int(download->refused().size()));
        setStatus(text);
    }
    download->deleteLater();
    fillInstalled();
    updateProgress();
    if (m_downloads.isEmpty()) {
        m_ui->showProgress->setValue(error ? 0 : 100);
        emit idle();
    }
}

void ZChatSpelling::slotRemove()
{
    const QListWidgetItem *item = m_ui->lstInstalled->currentItem();
    if (!item)
        return;
    const QString name = item->data(Qt::UserRole).toString();
    const QString shown = item->text();
    if (DictionaryFolder::remove(name))
        setStatus(tr("%1 removed.").arg(shown));
    else
        setStatus(tr("%1 could not be removed.").arg(shown));
    if (m_lastInstalled == name)
        m_lastInstalled.clear();
    fillInstalled();
}

void ZChatSpelling::updateProgress()
{
    qint64 received = 0;
    qint64 total = 0;
    for (const auto &download : std::as_const(m_downloads)) {
        if (!download)
            continue;
        received += download->received();
        total += download->total();
    }
    if (total > 0)
        m_ui->showProgress->setValue(int(qMin<qint64>(100, received * 100 / total)));
}

void ZChatSpelling::setStatus(const QString &text)
{
    m_ui->lblStatus->setText(text);
}

void ZChatSpelling::abandonDownloads()
{
    const auto downloads = std::exchange(m_downloads, {});
    for (const auto &download : downloads) {
        if (!download)
            continue;
        download->abort(); // discards its temporary files now
        download->deleteLater();
    }
}

void ZChatSpelling::done(int result)
{
    const bool busy = isBusy();
    abandonDownloads();
    if (busy)
        emit idle();
    ZDialog2::done(result);
}

void ZChatSpelling::runScript(const QVariantMap &answer)
{
    for (const QString &name : toList(answer.value(QStringLiteral("remove")))) {
        for (int row = 0; row < m_ui->lstInstalled->count(); ++row) {
            if (m_ui->lstInstalled->item(row)->data(Qt::UserRole).toString() == name) {
                m_ui->lstInstalled->setCurrentRow(row);
                m_ui->btnRemove->click();
                break;
            }
        }
    }
    for (const QString &language : toList(answer.value(QStringLiteral("install")))) {
        const auto found = m_ui->lstAll->findItems(language, Qt::MatchExactly);
        if (found.isEmpty())
            continue;
        m_ui->lstAll->setCurrentItem(found.first());
        m_ui->btnInstall->click();
    }
    if (isBusy()) {
        QEventLoop loop;
        connect(this, &ZChatSpelling::idle, &loop, &QEventLoop::quit);
        QTimer::singleShot(scriptedWaitMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

bool ZChatSpelling::installDictionaries(QWidget *parent, QString *installed)
{
    ZChatSpelling dialog(parent);
    if (parent) {
        const QPoint centre = parent->mapToGlobal(parent->rect().center());
        dialog.move(centre - QPoint(dialog.width() / 2, dialog.height() / 2));
    } else {
        ZDesktop::setCentered(&dialog);
    }
    DialogRunner::Hooks hooks;
    hooks.apply = [&dialog](const QVariantMap &fields) { dialog.runScript(fields); };
    hooks.fields = [&dialog] {
        return QVariantMap{{QStringLiteral("installed"), DictionaryFolder::installed()},
                           {QStringLiteral("status"), dialog.statusText()}};
    };
    const bool accepted = DialogRunner::run(&dialog, QStringLiteral("ZChatSpelling"), QString(), hooks) == 1;
    if (installed)
        *installed = accepted ? dialog.lastInstalled() : QString();
    return accepted;
}

} // namespace zubrel
