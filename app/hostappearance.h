#pragma once
// How the demo host looks and speaks: its window icon, the language of the
// module and its own windows (--lang, else the system's; replays stay in
// English and the C locale so their traces do not depend on the machine)
// and the palette (--dark, else the system's).

#include <QCommandLineOption>
#include <QTranslator>

class QCommandLineParser;

namespace zubrel {

class HostAppearance
{
public:
    HostAppearance();
    ~HostAppearance();
    HostAppearance(const HostAppearance &) = delete;
    HostAppearance &operator=(const HostAppearance &) = delete;

    void addOptions(QCommandLineParser *parser) const;
    // False with a message when an option's value is unusable.
    bool apply(const QCommandLineParser &parser, bool replay, QString *error);

private:
    QCommandLineOption m_langOption;
    QCommandLineOption m_darkOption;
    QTranslator m_translator;
    // Qt's own texts (standard buttons, file dialogs) when the system has them.
    QTranslator m_qtTranslator;
    bool m_translatorInstalled = false;
    bool m_qtTranslatorInstalled = false;
};

} // namespace zubrel
