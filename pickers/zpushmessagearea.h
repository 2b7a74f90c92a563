#pragma once
// The scrolling list of push-message sections: the "default" theme first,
// the other installed themes, then the user's saved push messages.
#include <QList>
#include <QPointer>
#include <QScrollArea>

#include "zpushmessageframe.h"

namespace zubrel {

class ZPushMessageArea : public QScrollArea
{
    Q_OBJECT

public:
    explicit ZPushMessageArea(QWidget *parent = nullptr);

    ZPushMessageFrame *defaultFrame() const { return m_default; }
    ZPushMessageFrame *favoritesFrame() const { return m_favorites; }
    QList<ZPushMessageFrame *> frames() const;

signals:
    void add();
    void clicked(const QString &shortcut, const QString &theme = QStringLiteral("default"));
    void hid();

public slots:
    void slotPushMessageClicked(const QString &shortcut, const QString &theme);

private:
    ZPushMessageFrame *addFrame(const QString &theme);

    QWidget *m_content = nullptr;
    QPointer<ZPushMessageFrame> m_default;
    QPointer<ZPushMessageFrame> m_favorites;
};

} // namespace zubrel
