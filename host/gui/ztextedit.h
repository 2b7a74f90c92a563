#pragma once
// The host's rich text input with spell checking: misspelt words get a red
// wavy underline and the context menu offers the speller's suggestions.
// Words are checked with the host spelling service (ZSpelling); without
// case regard a word also counts as correct when its lower-case or
// capitalised form is.

#include <QPointer>
#include <QTextEdit>
#include <memory>

class QMenu;
class QSyntaxHighlighter;

namespace zubrel {

class ZTextEdit : public QTextEdit
{
    Q_OBJECT
public:
    explicit ZTextEdit(QWidget *parent = nullptr);
    ~ZTextEdit() override;

    QString dict() const;           // the dictionary in use, "" when none
    QStringList availDicts() const; // installed dictionaries
    bool setDict(const QString &name);

    bool spellChecking() const { return m_spellChecking; }
    void setSpellChecking(bool on);
    bool regardCase() const { return m_regardCase; }
    void setRegardCase(bool on);

    // True when spell checking is off, no dictionary is usable, or the
    // word passes the current rules.
    bool isWordCorrect(const QString &word) const;
    // Where words are in a line of text: (start, length) pairs. Letters with
    // inner apostrophes; parts of numbers, addresses and links are skipped.
    static QList<std::pair<int, int>> words(const QString &text);

    // The context menu for a point in viewport coordinates: the suggestions
    // for a misspelt word there (choosing one replaces the word) followed by
    // the standard entries. The caller owns the menu.
    std::unique_ptr<QMenu> createContextMenu(const QPoint &pos);

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void rehighlight();

    bool m_spellChecking = false;
    bool m_regardCase = false;
    QPointer<QSyntaxHighlighter> m_highlighter;
};

} // namespace zubrel
