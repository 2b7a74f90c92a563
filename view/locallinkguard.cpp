#include "locallinkguard.h"

#include <QCoreApplication>
#include <QDir>
#include <QUrl>

#include "zmessagebox.h"

namespace zubrel {

bool LocalLinkGuard::isLocal(const QUrl &url)
{
    const QString scheme = url.scheme();
    // One letter is a drive ("C:/Windows/..."), which the desktop would open
    // as a path, not as a scheme of its own.
    return scheme.isEmpty() || scheme.compare(QLatin1String("file"), Qt::CaseInsensitive) == 0
           || scheme.size() == 1;
}

QString LocalLinkGuard::localTarget(const QUrl &url)
{
    if (!isLocal(url))
        return {};
    if (url.scheme().size() == 1)
        return url.toString(QUrl::FullyDecoded);
    QString path = url.scheme().isEmpty() ? url.path(QUrl::FullyDecoded) : url.toLocalFile();
    if (url.scheme().isEmpty() && !url.host().isEmpty())
        path = QStringLiteral("//") + url.host() + path; // a network share named as a path
    return path;
}

bool LocalLinkGuard::mayOpen(QWidget *parent, const QUrl &url)
{
    if (!isLocal(url))
        return true;
    const QString target = localTarget(url);
    // "#", "page.html": nothing on this computer the contact could mean.
    if (target.isEmpty() || (QDir::isRelativePath(target) && !target.startsWith(QLatin1String("//"))))
        return false;
    const QString title = QCoreApplication::translate("LocalLinkGuard", "Open File");
    const QString text =
        QCoreApplication::translate("LocalLinkGuard",
                                    "This link opens a file on this computer:\n\n%1\n\n"
                                    "Open it only if you trust the sender. Open it?")
            .arg(target);
    return ZMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
           == QMessageBox::Yes;
}

} // namespace zubrel
