#pragma once
// The push-message picker's popup window: the section list and the two
// menu lines "Record Push Message (F2)" and "Setup Push Messages".
#include <QFrame>

namespace zubrel {

class ZMenuItem;
class ZPushMessageArea;

class ZPushMessageAreaReal : public QFrame
{
    Q_OBJECT
    Q_PROPERTY(bool morePushMessages READ morePushMessages WRITE setMorePushMessages)
    Q_PROPERTY(bool setupPushMessages READ setupPushMessages WRITE setSetupPushMessages)

public:
    static constexpr int areaHeight = 250;
    static constexpr int deferMs = 20;

    explicit ZPushMessageAreaReal(QWidget *parent = nullptr);

    bool morePushMessages() const { return m_moreVisible; }
    void setMorePushMessages(bool visible);
    bool setupPushMessages() const { return m_setupVisible; }
    void setSetupPushMessages(bool visible);

    ZPushMessageArea *area() const { return m_area; }
    ZMenuItem *moreItem() const { return m_more; }
    ZMenuItem *setupItem() const { return m_setup; }

signals:
    void clicked(const QString &shortcut, const QString &theme = QStringLiteral("default"));
    void hid();

public slots:
    void slotPushMessageClicked(const QString &shortcut, const QString &theme);
    void slotMoreTimer();
    void slotMore();
    void slotSetupTimer();
    void slotSetup();

protected:
    void hideEvent(QHideEvent *event) override;

private:
    ZPushMessageArea *m_area = nullptr;
    ZMenuItem *m_more = nullptr;
    ZMenuItem *m_setup = nullptr;
    bool m_moreVisible = true;
    bool m_setupVisible = true;
};

} // namespace zubrel
