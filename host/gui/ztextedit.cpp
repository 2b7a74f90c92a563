#include "ztextedit.h"

#include "zspelling.h"

#include <QContextMenuEvent>
#include <QHash>
#include <QMenu>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSyntaxHighlighter>
#include <QTextBlock>

namespace zubrel {

namespace {

constexpr int maxSuggestions = 8;

class SpellHighlighter : public QSyntaxHighlighter
{
public:
    // Owned by the edit rather than by its document, so it outlives a
    // replaced document and can be moved to the new one.
    explicit SpellHighlighter(ZTextEdit *edit)
        : QSyntaxHighlighter(static_cast<QObject *>(edit))
        , m_edit(edit)
    {
        m_format.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
        m_format.setUnderlineColor(Qt::red);
    }

    // Forgets every verdict: the rules or the dictionary changed.
    void forget() { m_verdicts.clear(); }

protected:
    // Only the changed block comes here, but a long paragraph is one block:
    // its words are looked up in the remembered verdicts, so a keystroke
    // asks the speller about the words it touched and no others.
    void highlightBlock(const QString &text) override
    {
        if (!m_edit || !m_edit->spellChecking())
            return;
        const QString dictionary = ZSpelling::instance()->dictionary();
        if (dictionary != m_dictionary) {
            m_verdicts.clear();
            m_dictionary = dictionary;
        }
        for (const auto &[start, length] : ZTextEdit::words(text)) {
            const QString word = text.mid(start, length);
            auto it = m_verdicts.constFind(word);
            if (it == m_verdicts.cend()) {
                if (m_verdicts.size() > maxVerdicts)
                    m_verdicts.clear();
                it = m_verdicts.insert(word, m_edit->isWordCorrect(word));
            }
            if (!it.value())
                setFormat(start, length, m_format);
        }
    }

private:
    static constexpr qsizetype maxVerdicts = 20000;

    QPointer<ZTextEdit> m_edit;
    QTextCharFormat m_format;
    QHash<QString, bool> m_verdicts;
    QString m_dictionary;
};

bool isWordJoiner(QChar c)
{
    return c.isDigit() || c == u'_' || c == u'@' || c == u'/' || c == u'\\';
}

} // namespace

ZTextEdit::ZTextEdit(QWidget *parent)
    : QTextEdit(parent)
{
    m_highlighter = new SpellHighlighter(this);
    connect(ZSpelling::instance(), &ZSpelling::dictionariesChanged, this, &ZTextEdit::rehighlight);
}

ZTextEdit::~ZTextEdit() = default;

QString ZTextEdit::dict() const
{
    return ZSpelling::instance()->dictionary();
}

QStringList ZTextEdit::availDicts() const
{
    return ZSpelling::instance()->dictionaries();
}

bool ZTextEdit::setDict(const QString &name)
{
    const bool ok = ZSpelling::instance()->setDictionary(name);
    rehighlight();
    return ok;
}

void ZTextEdit::setSpellChecking(bool on)
{
    m_spellChecking = on;
    rehighlight();
}

void ZTextEdit::setRegardCase(bool on)
{
    m_regardCase = on;
    rehighlight();
}

bool ZTextEdit::isWordCorrect(const QString &word) const
{
    const ZSpelling *spelling = ZSpelling::instance();
    if (!m_spellChecking || word.isEmpty() || !spelling->isAvailable() || spelling->dictionary().isEmpty())
        return true;
    if (spelling->isCorrect(word))
        return true;
    if (m_regardCase)
        return false;
    const QString lower = word.toLower();
    if (lower != word && spelling->isCorrect(lower))
        return true;
    QString capitalised = lower;
    capitalised[0] = capitalised[0].toUpper();
    return capitalised != word && spelling->isCorrect(capitalised);
}

QList<std::pair<int, int>> ZTextEdit::words(const QString &text)
{
    static const QRegularExpression wordPattern(
        QStringLiteral("[\\p{L}\\p{M}]+(?:['\u2019][\\p{L}\\p{M}]+)*"));
    QList<std::pair<int, int>> result;
    auto it = wordPattern.globalMatch(text);
    while (it.hasNext()) {
        const auto match = it.next();
        const int start = int(match.capturedStart());
        const int end = int(match.capturedEnd());
        const QChar before = start > 0 ? text.at(start - 1) : QChar();
        const QChar after = end < text.size() ? text.at(end) : QChar();
        // "abc123", "me@host", "www.example.com": not words of the language.
        if (isWordJoiner(before) || isWordJoiner(after))
            continue;
        if (before == u'.' && start > 1 && text.at(start - 2).isLetterOrNumber())
            continue;
        if (after == u'.' && end + 1 < text.size() && text.at(end + 1).isLetterOrNumber())
            continue;
        result.append({start, end - start});
    }
    return result;
}

std::unique_ptr<QMenu> ZTextEdit::createContextMenu(const QPoint &pos)
{
    const QPoint documentPos = pos + QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
    std::unique_ptr<QMenu> menu(createStandardContextMenu(documentPos));
    if (!m_spellChecking)
        return menu;

    const QTextCursor at = cursorForPosition(pos);
    const QTextBlock block = at.block();
    const int inBlock = at.position() - block.position();
    const QString text = block.text();
    for (const auto &[start, length] : words(text)) {
        if (inBlock < start || inBlock > start + length)
            continue;
        const QString word = text.mid(start, length);
        if (isWordCorrect(word))
            break;
        const int from = block.position() + start;
        QAction *first = menu->actions().value(0);
        const QStringList suggestions = ZSpelling::instance()->suggestions(word).mid(0, maxSuggestions);
        for (const QString &suggestion : suggestions) {
            QAction *action = new QAction(suggestion, menu.get());
            connect(action, &QAction::triggered, this, [this, from, word, suggestion] {
                QTextCursor cursor(document());
                cursor.setPosition(from);
                cursor.setPosition(from + int(word.size()), QTextCursor::KeepAnchor);
                // The text may have changed since the menu was built.
                if (cursor.selectedText() != word)
                    return;
                cursor.insertText(suggestion);
            });
            menu->insertAction(first, action);
        }
        if (suggestions.isEmpty()) {
            QAction *none = new QAction(tr("No suggestions"), menu.get());
            none->setEnabled(false);
            menu->insertAction(first, none);
        }
        menu->insertSeparator(first);
        break;
    }
    return menu;
}

void ZTextEdit::contextMenuEvent(QContextMenuEvent *event)
{
    std::unique_ptr<QMenu> menu = createContextMenu(event->pos());
    menu->exec(event->globalPos());
}

void ZTextEdit::rehighlight()
{
    // setDocument() may have replaced the document the highlighter watches.
    if (m_highlighter && m_highlighter->document() != document())
        m_highlighter->setDocument(document());
    if (m_highlighter) {
        static_cast<SpellHighlighter *>(m_highlighter.data())->forget();
        m_highlighter->rehighlight();
    }
}

} // namespace zubrel
