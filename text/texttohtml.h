#pragma once
// The emoticon and link side of a chat tab's input: replaces typed emoticon
// shortcuts by pictures (while typing and at send), inserts pictures chosen
// in the picker, builds the HTML that is sent, and plays emoticon sounds.
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>

#include "zsmileypicker.h"

class QTextEdit;

namespace zubrel {

class ZSmileyOverlay;


class TextToHtml : public QObject
{
    Q_OBJECT

public:
    struct HiddenSmiley {
        QString shortcut;
        QString picture;
    };
    // Shortcuts that only the send path knows, in the order of their texts.
    static const QList<HiddenSmiley> &hiddenSmileys();

    // A child of the input it works on.
    explicit TextToHtml(QTextEdit *input);

    // Where the shortcut map and the sounds come from: the picker's
    // "default" theme, or the maps given below when there is no picker.
    void setPicker(ZSmileyPicker *picker);
    void setShortcutMap(const QMap<QString, QString> &map) { m_shortcuts = map; }
    void setSoundMap(const QMap<QString, QString> &map) { m_sounds = map; }
    QMap<QString, QString> shortcutMap() const;
    QString soundFor(const QString &image) const;

    // Other networks get neither emoticons nor hidden shortcuts.
    void setOtherNetwork(bool on) { m_otherNetwork = on; }
    void setSoundEnabled(bool on) { m_soundEnabled = on; }
    // Called with false before and true after a picture is inserted, so
    // the tab's typing sound stays quiet for the edit.
    void setTypingSoundHook(std::function<void(bool)> hook) { m_typingSound = std::move(hook); }
    // Re-applies the font toolbar's format after a picture was inserted.
    void setTypingFormatHook(std::function<void()> hook) { m_typingFormat = std::move(hook); }

    // The message HTML for the input's content, or a null string when the
    // input holds no text. Replaces shortcuts and links; leaves the input.
    QString sendHtml();
    // After sending: movie labels gone, input empty and focused.
    void clearInput();

    // typing = true: the user just typed a blank after the cursor position.
    void replaceEmoticonShortcuts(bool typing);
    // Plays each emoticon's sound of a message once.
    void playEmoticonSounds(const QString &html);
    // The sound files playEmoticonSounds() would play, in order.
    QStringList emoticonSoundFiles(const QString &html) const;
    // Every "img src" of the HTML in order; without repeats unless
    // allowRepeats (then one per picture, for placing overlays).
    static QStringList imageSources(const QString &html, bool allowRepeats = false);
    static QString imageTag(const QString &picture);
    // First whole-word, case-insensitive occurrence at or after from.
    static qsizetype findWholeWord(const QString &text, const QString &word, qsizetype from);

    ZSmileyOverlay *overlay() const { return m_overlay; }

public slots:
    void slotInsertSmiley(const QString &picture);

private:
    void replaceHiddenShortcuts();

    QPointer<QTextEdit> m_input;
    QPointer<ZSmileyPicker> m_picker;
    ZSmileyOverlay *m_overlay = nullptr; // child of the input
    QMap<QString, QString> m_shortcuts;
    QMap<QString, QString> m_sounds;
    bool m_otherNetwork = false;
    bool m_soundEnabled = true;
    std::function<void(bool)> m_typingSound;
    std::function<void()> m_typingFormat;
};

} // namespace zubrel
