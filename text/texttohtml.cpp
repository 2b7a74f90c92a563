#include "texttohtml.h"

#include "linkrecognizer.h"
#include "zdir.h"
#include "zsmileyoverlay.h"
#include "zsmileypicker.h"
#include "zsound.h"

#include <QSet>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace zubrel {

const QList<TextToHtml::HiddenSmiley> &TextToHtml::hiddenSmileys()
{
    static const QList<HiddenSmiley> list{
        {QStringLiteral("*einanna*"), QStringLiteral(":/anna-32")},
        {QStringLiteral("*einben*"), QStringLiteral(":/ben-32")},
        {QStringLiteral("*einlena*"), QStringLiteral(":/lena-32")},
        {QStringLiteral("*einmia*"), QStringLiteral(":/mia-32")},
        {QStringLiteral("*einotto*"), QStringLiteral(":/otto-32")},
        {QStringLiteral("*evilfinger*"), QStringLiteral(":/fuckyou-32")},
    };
    return list;
}

TextToHtml::TextToHtml(QTextEdit *input)
    : QObject(input)
    , m_input(input)
    , m_overlay(new ZSmileyOverlay(input))
{
}

void TextToHtml::setPicker(ZSmileyPicker *picker)
{
    m_picker = picker;
}

QMap<QString, QString> TextToHtml::shortcutMap() const
{
    return m_picker ? m_picker->smileyMap() : m_shortcuts;
}

QString TextToHtml::soundFor(const QString &image) const
{
    return m_picker ? m_picker->smileySound(image) : m_sounds.value(image);
}

QString TextToHtml::imageTag(const QString &picture)
{
    return QStringLiteral("<img src=\"%1\" />").arg(picture);
}

qsizetype TextToHtml::findWholeWord(const QString &text, const QString &word, qsizetype from)
{
    if (word.isEmpty())
        return -1;
    for (qsizetype at = text.indexOf(word, qMax<qsizetype>(0, from), Qt::CaseInsensitive); at >= 0;
         at = text.indexOf(word, at + 1, Qt::CaseInsensitive)) {
        const qsizetype end = at + word.size();
        // The same test the rich-text find uses for whole words.
        if ((at == 0 || !text.at(at - 1).isLetterOrNumber())
            && (end == text.size() || !text.at(end).isLetterOrNumber()))
            return at;
    }
    return -1;
}

void TextToHtml::replaceHiddenShortcuts()
{
    QTextDocument *doc = m_input->document();
    QString text = doc->toRawText();
    for (const HiddenSmiley &hidden : hiddenSmileys()) {
        const qsizetype at = findWholeWord(text, hidden.shortcut, 0);
        if (at < 0)
            continue;
        QTextCursor cursor(doc);
        cursor.setPosition(int(at));
        cursor.setPosition(int(at + hidden.shortcut.size()), QTextCursor::KeepAnchor);
        cursor.insertHtml(imageTag(hidden.picture));
        text = doc->toRawText(); // only after a change: the text is long
    }
}

void TextToHtml::replaceEmoticonShortcuts(bool typing)
{
    if (!m_input)
        return;
    QTextDocument *doc = m_input->document();
    // A cursor rather than a number: it follows the edits made below.
    QTextCursor mark = m_input->textCursor();
    mark.clearSelection();
    if (typing && mark.position() > 0)
        mark.setPosition(mark.position() - 1);
    if (!typing)
        replaceHiddenShortcuts();
    const QMap<QString, QString> map = shortcutMap();
    QString text = doc->toRawText();
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        const QString &shortcut = it.key();
        const qsizetype at = findWholeWord(text, shortcut, mark.position() - shortcut.size());
        if (at < 0)
            continue;
        // A shortcut glued to the word in front of it is text, not a face.
        if (at > 0 && !text.at(at - 1).isSpace())
            continue;
        QTextCursor cursor(doc);
        cursor.setPosition(int(at));
        qsizetype end = at + shortcut.size();
        if (typing && end < text.size() && text.at(end).isSpace())
            ++end;
        cursor.setPosition(int(end), QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        m_input->setTextCursor(cursor);
        slotInsertSmiley(it.value());
        text = doc->toRawText();
    }
}

void TextToHtml::slotInsertSmiley(const QString &picture)
{
    if (!m_input || m_input->isReadOnly() || picture.isEmpty())
        return;
    if (m_typingSound)
        m_typingSound(false);
    QTextCursor cursor = m_input->textCursor();
    cursor.beginEditBlock();
    const int position = cursor.position();
    cursor.insertHtml(imageTag(picture));
    cursor.insertText(QStringLiteral(" "));
    cursor.endEditBlock();
    m_input->setTextCursor(cursor);
    if (ZSmileyOverlay::isAnimated(picture))
        m_overlay->add(position, picture);
    if (m_typingFormat)
        m_typingFormat();
    if (m_typingSound)
        m_typingSound(true);
}

QString TextToHtml::sendHtml()
{
    if (!m_input || m_input->toPlainText().isEmpty())
        return QString();
    if (!m_otherNetwork)
        replaceEmoticonShortcuts(false);
    QTextDocument *doc = m_input->document();
    return LinkRecognizer::messageBody(LinkRecognizer::linkify(doc->toPlainText(), doc->toHtml()));
}

void TextToHtml::clearInput()
{
    m_overlay->clear();
    if (!m_input)
        return;
    m_input->setPlainText(QString());
    m_input->setFocus();
}

QStringList TextToHtml::imageSources(const QString &html, bool allowRepeats)
{
    QStringList sources;
    QSet<QString> seen;
    const QLatin1String marker("img src=\"");
    for (qsizetype at = html.indexOf(marker); at >= 0; at = html.indexOf(marker, at)) {
        at += marker.size();
        const qsizetype end = html.indexOf(u'"', at);
        if (end < 0)
            break;
        const QString source = html.mid(at, end - at);
        if (allowRepeats || !seen.contains(source)) {
            seen.insert(source);
            sources.append(source);
        }
        at = end;
    }
    return sources;
}

QStringList TextToHtml::emoticonSoundFiles(const QString &html) const
{
    QStringList files;
    for (const QString &source : imageSources(html)) {
        if (!source.startsWith(QLatin1String(":/")))
            continue;
        const QString sound = soundFor(source);
        if (!sound.isEmpty())
            files.append(QStringLiteral("%1/sounds/standard/smilies/%2").arg(ZDir::applicationPath(), sound));
    }
    return files;
}

void TextToHtml::playEmoticonSounds(const QString &html)
{
    if (!m_soundEnabled)
        return;
    for (const QString &file : emoticonSoundFiles(html))
        ZSound::instance()->play(file);
}

} // namespace zubrel
