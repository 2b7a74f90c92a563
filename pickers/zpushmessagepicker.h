#pragma once
// The push-message button of a chat tab: opens the popup with the themes'
// clips and the user's saved push messages; reports the chosen clip with
// pushMessage() and a wish to record with record(). The popup is built
// when it is first opened.
#include <QPointer>
#include <QToolButton>

#include "zpushmessageareareal.h"

namespace zubrel {

class ZPushMessagePicker : public QToolButton
{
    Q_OBJECT

public:
    static constexpr int deferMs = 20;

    explicit ZPushMessagePicker(QWidget *parent = nullptr);
    ~ZPushMessagePicker() override;

    // The popup, built on first use.
    ZPushMessageAreaReal *popup();

signals:
    void pushMessage(const QString &shortcut);
    void record();

public slots:
    void slotPushMessagesTimer();
    void slotPushMessages();
    void slotPushMessageClicked(const QString &shortcut, const QString &theme);
    void slotPopupClosed();

private:
    QPointer<ZPushMessageAreaReal> m_popup;
};

} // namespace zubrel
