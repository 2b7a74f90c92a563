#pragma once
// The host's file choosers. Each reports a "fileDialog" event (op "open",
// "openMany" or "save") and takes scripted answers (kind "file") from
// ZModalScript: a path, or a list of paths for getOpenFileNames; anything
// else, or no answer in a scripted run, cancels (empty result).

#include <QFileDialog>
#include <QString>
#include <QStringList>

namespace zubrel {

class ZFileDialog
{
public:
    static QString getOpenFileName(QWidget *parent = nullptr, const QString &caption = QString(),
                                   const QString &dir = QString(), const QString &filter = QString());
    static QStringList getOpenFileNames(QWidget *parent = nullptr, const QString &caption = QString(),
                                        const QString &dir = QString(),
                                        const QString &filter = QString());
    static QString getSaveFileName(QWidget *parent = nullptr, const QString &caption = QString(),
                                   const QString &dir = QString(), const QString &filter = QString());
};

} // namespace zubrel
