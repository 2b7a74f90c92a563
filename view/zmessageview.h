#pragma once
// A chat tab's message view. Every entry is filled from MessageTemplates into
// the styled and the plain conversation store; the widget itself does not
// keep one big rich-text document (that grows quadratically and costs tens of
// kilobytes per entry) but a compact list of entries, paints header bands
// itself and lays out only the bodies that are on screen, with a small cache
// of documents and a height index for scrolling.
//
// It is a ZTextBrowser so the tab can configure it like one (object name,
// focus policy, setOpenExternalLinks, setSaveableImages), but the inherited
// document stays empty: use the members declared here (plainText, copy,
// selectAll, clearView, entryCount...) rather than document()/toPlainText()
// of the base classes. textChanged() is emitted after every append and
// clear, copyAvailable(bool) when the selection appears or vanishes.

#include "messagetemplates.h"
#include "messageviewmodel.h"
#include "ztextbrowser.h"

#include <QDateTime>
#include <QPointer>
#include <QRegion>
#include <QUrl>

#include <climits>
#include <memory>

namespace zubrel {

class HeightIndex;
class MessageLayout;
class MessageViewModel;

class ZMessageView : public ZTextBrowser
{
    Q_OBJECT
public:
    explicit ZMessageView(QWidget *parent = nullptr);
    ~ZMessageView() override;

    // Each appends one entry to both stores and the view and returns the
    // entry's styled HTML. `html` is the message body (HTML), `alias` plain
    // text (it is escaped for the entry), `id` the sender's zubrelId.
    // Own: continuation while the last sender is this id and `now` is before
    // the own deadline (or with no time limit for push messages).
    QString appendOwn(const QString &html, const QString &alias, const QString &id, const QDateTime &now,
                      bool groupWithoutTimeLimit = false);
    // Incoming one-to-one: continuation while the last sender is this id and
    // the send time is before the incoming deadline. Offline messages show the
    // long time form in the header.
    QString appendIncoming(const QString &html, const QString &alias, const QString &id, const QDateTime &sendTime,
                           bool offline, bool mobile);
    // Multi chat: continuation whenever the last sender is this id.
    QString appendMultiChat(const QString &html, const QString &alias, const QString &id, bool mobile,
                            const QDateTime &now);
    // Chat-log history: grouped by its own last log sender, long time form.
    QString appendLog(const QString &html, const QString &alias, const QString &id, const QDateTime &time);
    // Older chat-log records (oldest first) placed above every entry; what
    // the user looks at stays where it is on screen.
    void prependLog(const QList<LogLine> &lines);
    // System/Notify/Error/Blocked line; never grouped, leaves the last sender.
    QString appendNotice(MessageTemplates::Kind kind, const QString &text, const QDateTime &now);

    void setPlain(bool plain);   // shows the plain (true) or styled form of every entry
    bool isPlain() const;
    void clearView();            // empties view and both stores, resets grouping
    QString styledStore() const;
    QString plainStore() const;
    QString lastSender() const;
    int entryCount() const;
    // The visible conversation as plain text, entries separated by '\n'; a
    // header entry starts with "alias time".
    QString plainText() const;

    // Selection and clipboard over the whole conversation (not the base
    // class's empty document).
    bool hasSelection() const;
    QString selectedText() const;
    // The selection as HTML for other applications: each entry's sender and
    // time, and its body with pictures embedded as data: URLs.
    QString selectedHtml();
    // Puts the selection on the clipboard as text/plain and text/html.
    void copy();
    void selectAll();
    void clearSelection();
    // Shadows of QTextEdit's non-virtual members, so calls through a
    // ZMessageView pointer do the expected thing.
    QString toPlainText() const { return plainText(); }
    void clear() { clearView(); }

    bool isAtBottom() const;
    void scrollToBottom();
    // Scrolls so that entry `index` starts at the top of the viewport.
    void scrollToEntry(int index);
    // Viewport rectangle of an entry (may lie outside the viewport).
    QRect entryRect(int index) const;
    // Index of the entry under a viewport point, -1 for none.
    int entryAt(const QPoint &pos) const;
    // Viewport rectangle of the ordinal-th picture (0-based) in the body of
    // entry `index`, null when there is no such picture. For overlays such as
    // animated emoticons; re-query after viewportLayoutChanged().
    QRect entryImageRect(int index, int ordinal);
    // The body HTML the view shows for an entry in the current mode.
    QString entryBodyHtml(int index) const;
    // Kind, sender and time of an entry (index must be valid), its body as
    // plain text, and whether the selection touches it: what assistive
    // technology reads.
    const MessageEntry &entryData(int index) const;
    QString entryPlainText(int index) const;
    bool isEntrySelected(int index) const;
    // The entry Up, Down, Home and End read (-1 for none yet): framed while
    // the view has focus, and the focused item for screen readers.
    int readerFocus() const { return m_readerFocus; }
    void setReaderFocus(int index);

    // Finding in the loaded conversation, case-insensitively. Selects the
    // next match after the selection (before it with `backward`), wrapping
    // around; without a selection, or with `fromEnd`, searches from the
    // newest entry up. The match is scrolled into sight. False when none.
    bool findText(const QString &text, bool backward, bool fromEnd = false);
    // Selects the first match of `text` in entry `index` (the whole entry
    // when there is none) and scrolls it into sight.
    void showInEntry(int index, const QString &text);
    // The newest entry whose text (white space simplified) holds `text`,
    // -1 for none.
    int findEntry(const QString &text);
    // Rows at the top of the viewport hidden by an overlay (the open find
    // bar): a match brought into sight is placed below them.
    void setCoveredTop(int pixels) { m_coveredTop = qMax(0, pixels); }
    int coveredTop() const { return m_coveredTop; }

    QString imageAt(const QPoint &pos) const override;
    // Copy, Select All and, over a picture with saveable images on, "Save
    // Image As...".
    std::unique_ptr<QMenu> createContextMenu(const QPoint &pos) override;

signals:
    // A link in an entry was clicked (pushplay:, pushsave:, http:, mailto: ...).
    // With openExternalLinks() on, the URL is also handed to
    // QDesktopServices::openUrl, as QTextBrowser would.
    void linkActivated(const QUrl &url);
    // Entries moved on screen (scroll, resize, relayout, append): overlays
    // placed over the view should be placed again.
    void viewportLayoutChanged();
    // The user scrolled (or tried to scroll) past the first entry: older
    // history may be shown above.
    void olderEntriesWanted();
    // `count` entries were placed before the first one; entry numbers known
    // until now grew by `count`. (No textChanged() for these.)
    void entriesPrepended(int count);

public slots:
    // What a click on a link does: the signals above, then, with external
    // links on, the desktop (a local file only after the user agreed).
    void activateLink(const QString &href);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    // A place in the conversation: an entry and a position in its body
    // document; -1 is the start of the entry, before its header.
    struct Position
    {
        int entry = -1;
        int pos = -1;
        auto operator<=>(const Position &) const = default;
    };

    QString afterAppend(const QString &styledHtml, bool wasAtBottom);
    // Following the bottom (zmessageview.cpp): pixels moved once per pass.
    void scrollPixelsLater(int dx, int dy);
    void scrollPendingPixels();
    void updateArea(const QRect &rect);
    void repaintAll();
    void updateScrollRange();
    void relayoutVisible();
    Position positionAt(const QPoint &viewportPos);
    QString linkAt(const QPoint &viewportPos);
    void selectionChanged();
    QString entryText(int index, int from, int to);
    QTextDocument *measuredDocument(int index);
    void revealPosition(const Position &at);
    // Keyboard and triple-click selection (zmessageview_select.cpp).
    bool selectEntryOnTripleClick(QMouseEvent *event);
    bool extendSelectionByKey(QKeyEvent *event);
    Position keyboardStart(bool forward) const;
    Position stepCharacter(Position at, bool forward, bool word);
    Position stepLine(Position at, bool down);
    int endOf(int index);
    bool hasHeader(int index) const;
    QRect positionRect(const Position &at);
    void keepInSight(const Position &at);
    // Reading entry by entry (zmessageview_reading.cpp).
    bool moveReaderFocusByKey(QKeyEvent *event);
    void showEntry(int index);
    // A click on a picture shown scaled down opens it at full size.
    bool showFullPicture(const QPoint &viewportPos);

    std::unique_ptr<MessageViewModel> m_model;
    std::unique_ptr<MessageLayout> m_layout;
    std::unique_ptr<HeightIndex> m_heights;
    Position m_anchor;
    Position m_cursor;
    bool m_selecting = false;
    bool m_hadSelection = false;
    bool m_inRelayout = false;
    bool m_keepPixels = false; // scrolling by what was placed above: nothing moves
    QPoint m_pendingScroll;    // pixels still to move, see scrollPixelsLater()
    QRegion m_pendingArea;     // to paint once they moved
    QPointer<QWidget> m_paintingWindow; // whose update request moves them
    bool m_updateRequested = false;
    unsigned m_relayoutCount = 0; // rounds that changed a height
    int m_scrollMaximum = 0;
    QString m_pressedLink;
    QPoint m_pressPoint;
    // The last double click, for telling a third click from a new one.
    bool m_doubleClicked = false;
    quint64 m_doubleClickTime = 0;
    QPoint m_doubleClickPoint;
    QPointer<QWidget> m_pictureViewer;
    int m_readerFocus = -1;
    int m_coveredTop = 0;
};

} // namespace zubrel
