#include "replayuisteps.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QImage>
#include <QJsonArray>
#include <QMenu>
#include <QMenuBar>
#include <QMetaEnum>
#include <QMimeData>
#include <QCoreApplication>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>
#include <QWidget>

#include "chatstatereader.h"
#include "zcontactcard.h"
#include "zhostevents.h"

namespace zubrel {

namespace {

// Schemes the desktop would open in another program. The module installs
// its own handlers for the schemes it owns (sip, ftp, pushplay ...), which
// take precedence because they are installed later.
const QStringList externalSchemes = {QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("mailto"),
                                     QStringLiteral("tel"),  QStringLiteral("callto"), QStringLiteral("file")};

} // namespace

ReplayUiSteps::ReplayUiSteps(QObject *parent)
    : QObject(parent)
{
    for (const QString &scheme : externalSchemes)
        QDesktopServices::setUrlHandler(scheme, this, "reportOpened");
}

ReplayUiSteps::~ReplayUiSteps()
{
    for (const QString &scheme : externalSchemes)
        QDesktopServices::unsetUrlHandler(scheme);
}

void ReplayUiSteps::reportOpened(const QUrl &url)
{
    // Reported as the platform layer reports an opened link, but never
    // handed back to the desktop, which would call this handler again.
    ZHostEvents::instance()->report(QStringLiteral("platform"),
                                    {{QStringLiteral("op"), QStringLiteral("openUrl")},
                                     {QStringLiteral("url"), url.toString()}});
}

QStringList ReplayUiSteps::stepNames()
{
    return {QStringLiteral("type"), QStringLiteral("key"),  QStringLiteral("menu"), QStringLiteral("card"),
            QStringLiteral("link"), QStringLiteral("drop"), QStringLiteral("close")};
}

bool ReplayUiSteps::run(const QString &name, const QJsonObject &step, QString *error)
{
    if (name == QLatin1String("type"))
        return doType(step, error);
    if (name == QLatin1String("key"))
        return doKey(step, error);
    if (name == QLatin1String("menu"))
        return doMenu(step, error);
    if (name == QLatin1String("card"))
        return doCard(step, error);
    if (name == QLatin1String("link"))
        return doLink(step, error);
    if (name == QLatin1String("drop"))
        return doDrop(step, error);
    if (name == QLatin1String("close"))
        return doClose(step, error);
    *error = QStringLiteral("unknown step \"%1\"").arg(name);
    return false;
}

int ReplayUiSteps::keyFromName(const QString &name)
{
    if (name.isEmpty())
        return 0;
    bool ok = false;
    const int key = QMetaEnum::fromType<Qt::Key>().keyToValue(("Key_" + name).toLatin1().constData(), &ok);
    return ok ? key : 0;
}

bool ReplayUiSteps::modifiersFromNames(const QJsonValue &names, Qt::KeyboardModifiers *mods)
{
    *mods = Qt::NoModifier;
    if (names.isUndefined() || names.isNull())
        return true;
    if (!names.isArray())
        return false;
    static const QHash<QString, Qt::KeyboardModifier> table = {
        {QStringLiteral("Shift"), Qt::ShiftModifier},     {QStringLiteral("Control"), Qt::ControlModifier},
        {QStringLiteral("Ctrl"), Qt::ControlModifier},    {QStringLiteral("Alt"), Qt::AltModifier},
        {QStringLiteral("Meta"), Qt::MetaModifier},       {QStringLiteral("Keypad"), Qt::KeypadModifier}};
    for (const QJsonValue &name : names.toArray()) {
        const auto it = table.constFind(name.toString());
        if (it == table.cend())
            return false;
        *mods |= it.value();
    }
    return true;
}

QString ReplayUiSteps::menuText(const QString &text)
{
    QString result = text.section(QLatin1Char('\t'), 0, 0);
    // "&&" is a literal ampersand; a single '&' only marks the mnemonic.
    result.replace(QLatin1String("&&"), QStringLiteral("\x01"));
    result.remove(QLatin1Char('&'));
    result.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return result.trimmed();
}

QWidget *ReplayUiSteps::chatWindow(const QJsonObject &step, QString *error) const
{
    const QJsonValue key = step.value(QLatin1String("chat"));
    if (!key.isString()) {
        *error = QStringLiteral("the step needs \"chat\" with a chat key");
        return nullptr;
    }
    QWidget *window = ChatStateReader::window(key.toString());
    if (!window)
        *error = QStringLiteral("no open chat \"%1\"").arg(key.toString());
    return window;
}

QWidget *ReplayUiSteps::chatTab(const QJsonObject &step, QString *error) const
{
    QWidget *window = chatWindow(step, error);
    if (!window)
        return nullptr;
    const QList<QWidget *> tabs = ChatStateReader::tabs(window);
    if (tabs.isEmpty())
        *error = QStringLiteral("chat \"%1\" has no tab").arg(step.value(QLatin1String("chat")).toString());
    return tabs.isEmpty() ? nullptr : tabs.first();
}

QWidget *ReplayUiSteps::chatInput(const QJsonObject &step, QString *error) const
{
    QWidget *tab = chatTab(step, error);
    if (!tab)
        return nullptr;
    QWidget *input = ChatStateReader::input(tab);
    if (!input)
        *error = QStringLiteral("chat \"%1\" has no input").arg(step.value(QLatin1String("chat")).toString());
    return input;
}

QStringList ReplayUiSteps::paths(const QJsonValue &list, QString *error) const
{
    QStringList result;
    if (!list.isArray() || list.toArray().isEmpty()) {
        *error = QStringLiteral("expected a non-empty list of paths");
        return {};
    }
    for (const QJsonValue &path : list.toArray()) {
        if (!path.isString() || path.toString().isEmpty()) {
            *error = QStringLiteral("every path must be a non-empty text");
            return {};
        }
        result.append(QDir(m_scriptFolder).absoluteFilePath(path.toString()));
    }
    return result;
}

bool ReplayUiSteps::doType(const QJsonObject &step, QString *error)
{
    const QJsonValue text = step.value(QLatin1String("text"));
    if (!text.isString()) {
        *error = QStringLiteral("\"type\" needs a \"text\"");
        return false;
    }
    QWidget *input = chatInput(step, error);
    if (!input)
        return false;
    // QTest types only Latin-1; anything beyond goes as a key event that
    // carries the character (a surrogate pair stays one event), as an
    // input method would deliver it.
    const QString typed = text.toString();
    for (qsizetype i = 0; i < typed.size(); ++i) {
        const QChar c = typed.at(i);
        if (c.unicode() < 0x80) {
            QTest::keyClick(input, char(c.unicode()));
            // A person pauses at the end of a word longer than the input's
            // 20 ms deferral: shortcuts typed before a blank are replaced
            // as they would be for a real typist.
            if (c.isSpace()) {
                QTest::qWait(30);
                // qWait may return right after its last sleep without
                // looking at timers that fell due during it; on a busy
                // machine that left the deferral for a later key.
                QCoreApplication::processEvents();
            }
            continue;
        }
        const qsizetype length = c.isHighSurrogate() && i + 1 < typed.size() ? 2 : 1;
        const QString character = typed.mid(i, length);
        QTest::sendKeyEvent(QTest::Press, input, Qt::Key_unknown, character, Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, input, Qt::Key_unknown, character, Qt::NoModifier);
        i += length - 1;
    }
    return true;
}

bool ReplayUiSteps::doKey(const QJsonObject &step, QString *error)
{
    const int key = keyFromName(step.value(QLatin1String("key")).toString());
    if (!key) {
        *error = QStringLiteral("unknown key \"%1\"").arg(step.value(QLatin1String("key")).toString());
        return false;
    }
    Qt::KeyboardModifiers mods;
    if (!modifiersFromNames(step.value(QLatin1String("mods")), &mods)) {
        *error = QStringLiteral("\"mods\" must list Shift, Control, Alt, Meta or Keypad");
        return false;
    }
    QWidget *input = chatInput(step, error);
    if (!input)
        return false;
    // A shifted letter types a capital, as on a keyboard; QTest would send
    // the lower-case text with the Shift modifier.
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        const QChar letter = QChar(u'a' + (key - Qt::Key_A));
        const QString text = mods.testFlag(Qt::ShiftModifier) ? QString(letter.toUpper()) : QString(letter);
        QTest::sendKeyEvent(QTest::Press, input, Qt::Key(key), text, mods);
        QTest::sendKeyEvent(QTest::Release, input, Qt::Key(key), text, mods);
        return true;
    }
    QTest::keyClick(input, Qt::Key(key), mods);
    return true;
}

bool ReplayUiSteps::doMenu(const QJsonObject &step, QString *error)
{
    const QString text = menuText(step.value(QLatin1String("text")).toString());
    if (text.isEmpty()) {
        *error = QStringLiteral("\"menu\" needs the entry's \"text\"");
        return false;
    }
    QWidget *window = chatWindow(step, error);
    if (!window)
        return false;
    // A user opens a menu of the menu bar before choosing from it: each menu
    // brings its entries up to date first (texts such as "Show Toolbar",
    // Edit entries enabled for the focused widget).
    if (auto *bar = window->findChild<QMenuBar *>()) {
        for (QAction *entry : bar->actions()) {
            if (entry->menu())
                emit entry->menu()->aboutToShow();
        }
    }
    // Of entries with the same text (Copy for the input and for the view)
    // the one a user can see and click wins.
    QAction *found = nullptr;
    const auto actions = window->findChildren<QAction *>();
    for (QAction *action : actions) {
        if (action->isSeparator() || menuText(action->text()) != text)
            continue;
        if (action->isVisible() && action->isEnabled()) {
            found = action;
            break;
        }
        if (!found)
            found = action;
    }
    if (found) {
        found->trigger();
        return true;
    }
    *error = QStringLiteral("chat \"%1\" has no menu entry \"%2\"")
                 .arg(step.value(QLatin1String("chat")).toString(), text);
    return false;
}

bool ReplayUiSteps::doCard(const QJsonObject &step, QString *error)
{
    QWidget *tab = chatTab(step, error);
    if (!tab)
        return false;
    const QJsonValue idValue = step.value(QLatin1String("id"));
    const QString id = idValue.isDouble() ? QString::number(qint64(idValue.toDouble())) : idValue.toString();
    ZContactCard *card = ChatStateReader::card(tab, id);
    if (!card) {
        *error = QStringLiteral("chat \"%1\" has no card \"%2\"").arg(step.value(QLatin1String("chat")).toString(), id);
        return false;
    }
    if (step.contains(QLatin1String("action"))) {
        // Through the card's own menu, so only entries it offers can be chosen.
        const QString actionId = step.value(QLatin1String("action")).toString();
        std::unique_ptr<QMenu> menu = card->createContextMenu();
        const auto actions = menu ? menu->findChildren<QAction *>() : QList<QAction *>();
        for (QAction *action : actions) {
            if (action->data().toString() == actionId && !actionId.isEmpty()) {
                action->trigger();
                return true;
            }
        }
        *error = QStringLiteral("card \"%1\" offers no action \"%2\"").arg(id, actionId);
        return false;
    }
    if (step.value(QLatin1String("click")) == QJsonValue(QStringLiteral("avatar"))) {
        emit card->avatarClicked();
        return true;
    }
    if (step.contains(QLatin1String("newAvatar"))) {
        const QStringList files = paths(step.value(QLatin1String("newAvatar")), error);
        if (files.isEmpty())
            return false;
        emit card->newAvatar(files);
        return true;
    }
    *error = QStringLiteral("\"card\" needs \"action\", \"click\": \"avatar\" or \"newAvatar\"");
    return false;
}

bool ReplayUiSteps::doLink(const QJsonObject &step, QString *error)
{
    const QUrl url(step.value(QLatin1String("url")).toString());
    if (url.isEmpty()) {
        *error = QStringLiteral("\"link\" needs a \"url\"");
        return false;
    }
    QWidget *tab = chatTab(step, error);
    if (!tab)
        return false;
    QWidget *view = ChatStateReader::view(tab);
    // A view that can be clicked the way a user clicks is clicked so: its
    // own checks (a local file asks first) run as they would.
    if (view && view->metaObject()->indexOfMethod("activateLink(QString)") >= 0)
        return QMetaObject::invokeMethod(view, "activateLink", Qt::DirectConnection,
                                         Q_ARG(QString, step.value(QLatin1String("url")).toString()));
    auto *browser = qobject_cast<QTextBrowser *>(view);
    // The module's view announces a clicked link with its own signal first
    // and then as a text browser would; a click here does both, in that order.
    const bool hasOwnSignal = view && view->metaObject()->indexOfSignal("linkActivated(QUrl)") >= 0;
    if (!hasOwnSignal && !browser) {
        *error = QStringLiteral("chat \"%1\" has no message view with links").arg(step.value(QLatin1String("chat")).toString());
        return false;
    }
    if (hasOwnSignal)
        QMetaObject::invokeMethod(view, "linkActivated", Qt::DirectConnection, Q_ARG(QUrl, url));
    if (browser)
        emit browser->anchorClicked(url);
    // Then, as a click does, the desktop's URL handlers get the link.
    if (view->property("openExternalLinks").toBool())
        QDesktopServices::openUrl(url);
    return true;
}

bool ReplayUiSteps::doDrop(const QJsonObject &step, QString *error)
{
    QMimeData mime;
    // "picture": the picture itself, as another program drags it, instead
    // of files; a small one goes into the input.
    if (step.contains(QLatin1String("picture"))) {
        const QStringList picture = paths(QJsonArray{step.value(QLatin1String("picture"))}, error);
        const QImage image = picture.isEmpty() ? QImage() : QImage(picture.first());
        if (image.isNull()) {
            if (error->isEmpty())
                *error = QStringLiteral("\"picture\" is not a picture file");
            return false;
        }
        mime.setImageData(image);
    } else {
        const QStringList files = paths(step.value(QLatin1String("files")), error);
        if (files.isEmpty())
            return false;
        QList<QUrl> urls;
        for (const QString &file : files)
            urls.append(QUrl::fromLocalFile(file));
        mime.setUrls(urls);
    }
    QWidget *window = chatWindow(step, error);
    if (!window)
        return false;
    const QPoint centre = window->rect().center();
    // A drop only follows an accepted drag, as with a real mouse.
    QDragEnterEvent enter(centre, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &enter);
    if (!enter.isAccepted())
        return true;
    QDropEvent drop(QPointF(centre), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &drop);
    return true;
}

bool ReplayUiSteps::doClose(const QJsonObject &step, QString *error)
{
    QWidget *window = chatWindow(step, error);
    if (!window)
        return false;
    window->close();
    return true;
}

} // namespace zubrel
