#pragma once
// Hunspell-backed spelling engine. Dictionaries (<lang>.aff + <lang>.dic) are
// looked up in the application's spelling/ folder first, then in the
// system's hunspell folder (/usr/share/hunspell).

#include <QObject>
#include <QStringList>
#include <memory>

namespace zubrel {

class ZSpelling : public QObject
{
    Q_OBJECT
public:
    static ZSpelling *instance();

    bool isAvailable() const;       // at least one dictionary is installed
    void reload();                  // rescan the folders (after an install)
    QStringList dictionaries() const; // e.g. "en_US", sorted, no repeats
    QString dictionary() const;     // the one in use
    bool setDictionary(const QString &name);
    bool isCorrect(const QString &word) const;
    QStringList suggestions(const QString &word) const;

signals:
    void dictionariesChanged();

private:
    ZSpelling();
    ~ZSpelling() override;
    class Private;
    std::unique_ptr<Private> d;
};

} // namespace zubrel
