#pragma once
// The replay steps that act on a chat window the way a person would: typing
// into the input, pressing keys, choosing menu entries, using contact cards,
// following links, dropping files and closing the window.

#include <QJsonObject>
#include <QObject>
#include <QStringList>
#include <QUrl>

class QWidget;

namespace zubrel {

class ReplayUiSteps : public QObject
{
    Q_OBJECT
public:
    explicit ReplayUiSteps(QObject *parent = nullptr);
    ~ReplayUiSteps() override;

    static QStringList stepNames();
    void setScriptFolder(const QString &folder) { m_scriptFolder = folder; }
    bool run(const QString &name, const QJsonObject &step, QString *error);

    // "Return" -> Qt::Key_Return; 0 for an unknown name.
    static int keyFromName(const QString &name);
    // ["Shift", "Control"] -> modifiers; false for an unknown name.
    static bool modifiersFromNames(const QJsonValue &names, Qt::KeyboardModifiers *mods);
    // Menu text compared without mnemonic marks and without a shortcut suffix.
    static QString menuText(const QString &text);

private slots:
    // Desktop URL handler of the schemes nobody in the process handles: a
    // replay reports the link instead of launching a program for it.
    void reportOpened(const QUrl &url);

private:
    bool doType(const QJsonObject &step, QString *error);
    bool doKey(const QJsonObject &step, QString *error);
    bool doMenu(const QJsonObject &step, QString *error);
    bool doCard(const QJsonObject &step, QString *error);
    bool doLink(const QJsonObject &step, QString *error);
    bool doDrop(const QJsonObject &step, QString *error);
    bool doClose(const QJsonObject &step, QString *error);

    QWidget *chatWindow(const QJsonObject &step, QString *error) const;
    QWidget *chatTab(const QJsonObject &step, QString *error) const;
    QWidget *chatInput(const QJsonObject &step, QString *error) const;
    QStringList paths(const QJsonValue &list, QString *error) const;

    QString m_scriptFolder;
};

} // namespace zubrel
