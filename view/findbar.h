#pragma once
// The find bar over a chat's message view (Ctrl+F): finds as the user types
// in the entries the view holds, steps to older and newer matches, and, when
// the chat log can search, lists matches from the whole history; choosing
// one brings it into the view. Its controls are built when it first opens:
// every chat tab has one, few ever use it.

#include <QFrame>
#include <QList>
#include <QPointer>

#include "historysearchsource.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QToolButton;

namespace zubrel {

class ZMessageView;

class FindBar : public QFrame
{
    Q_OBJECT
public:
    static constexpr int maxHits = 200;

    // Lies over `view`; Ctrl+F anywhere in `scope` opens it.
    FindBar(ZMessageView *view, QWidget *scope);

    // The chat's history; `owner` is the object that implements it, watched
    // so a closed history is never called.
    void setHistorySource(QObject *owner, HistorySearchSource *source);

    QLineEdit *field() { build(); return m_field; }
    QPushButton *wholeHistoryButton() { build(); return m_wholeHistory; }
    QListWidget *results() { build(); return m_results; }
    QString status() const;

public slots:
    void open();
    void close();
    void findOlder();
    void findNewer();
    void searchWholeHistory();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void build();
    void findAsTyped(const QString &text);
    void showHit(QListWidgetItem *item);
    void updateButtons();
    void place();
    void setStatus(const QString &text);

    QPointer<ZMessageView> m_view;
    QPointer<QObject> m_sourceOwner;
    HistorySearchSource *m_source = nullptr;
    QLineEdit *m_field = nullptr;
    QToolButton *m_older = nullptr;
    QToolButton *m_newer = nullptr;
    QPushButton *m_wholeHistory = nullptr;
    QToolButton *m_close = nullptr;
    QLabel *m_status = nullptr;
    QListWidget *m_results = nullptr;
    QList<HistoryHit> m_hits;
    QString m_hitsFor;
};

} // namespace zubrel
