#pragma once
// Hunspell-backed spelling engine. Dictionaries (<lang>.aff + <lang>.dic) are
// those in the application's spelling/ folder, where the client ships its
// own and the dictionary installer puts new ones; the system's hunspell
// folder is not used, so what the user installed or removed is what counts.

#include <QObject>
#include <QStringList>
#include <memory>

namespace zubrel {

class ZSpelling : public QObject
{
    Q_OBJECT
public:
    static ZSpelling *instance();

    bool isAvailable() const;       // the engine works; dictionaries may be missing
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
