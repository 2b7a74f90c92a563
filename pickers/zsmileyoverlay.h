#pragma once
// Keeps animated emoticons moving in a rich-text control: a text document
// only shows a GIF's first frame, so a small movie label is laid over each
// animated picture and moved along when the text re-flows or scrolls.
#include <QList>
#include <QObject>
#include <QPointer>

class QLabel;
class QTextEdit;

namespace zubrel {

class ZSmileyOverlay : public QObject
{
    Q_OBJECT

public:
    static constexpr int placeDelay = 40;
    static constexpr int moveDelay = 20;

    // Lives as a child of the control it decorates.
    explicit ZSmileyOverlay(QTextEdit *edit);

    // Whether the picture's format can animate (cached per path).
    static bool isAnimated(const QString &path);
    // A label on parent that plays the animated picture at path from its
    // first frame, sized to the picture; it owns its movie.
    static QLabel *createMovieLabel(QWidget *parent, const QString &path);

    // A movie label for the picture at the character position.
    void add(int position, const QString &path);
    // Labels for the animated pictures of an entry just appended to a view:
    // the entry starts at plain-text position base.
    void addEntry(int base, const QString &entryHtml);
    void clear();

    const QList<int> &positions() const { return m_positions; }
    QList<QLabel *> widgets() const;

public slots:
    // Puts every label over its picture's current place.
    void slotMoveWidgets();
    void slotMoveWidgetsTimer();
    void slotContentsChange(int position, int removed, int added);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QTextEdit> m_edit;
    QList<int> m_positions;
    QList<QPointer<QLabel>> m_widgets;
};

} // namespace zubrel
