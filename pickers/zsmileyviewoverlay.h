#pragma once
// Movie labels over the animated emoticons of the message view. The view
// lays out its entries itself and tells where an entry's pictures are and
// when they moved, so the labels follow entry and picture numbers.
#include <QList>
#include <QObject>
#include <QPointer>

class QLabel;

namespace zubrel {

class ZMessageView;

class ZSmileyViewOverlay : public QObject
{
    Q_OBJECT

public:
    static constexpr int placeDelay = 40;

    // Lives as a child of the view.
    explicit ZSmileyViewOverlay(ZMessageView *view);

    // Labels for the animated pictures of entry `index`, whose HTML is given.
    void addEntry(int index, const QString &entryHtml);
    void clear();
    QList<QLabel *> widgets() const;

public slots:
    // Places the labels over their pictures; only those in sight of a shown
    // view play.
    void slotMoveWidgets();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Placed {
        int entry = -1;
        int ordinal = -1;
        QPointer<QLabel> label;
    };
    ZMessageView *view() const;

    QPointer<QObject> m_view; // the ZMessageView, guarded
    QList<Placed> m_placed;
};

} // namespace zubrel
