#pragma once
// One section of the push-message picker: a theme's clips ten to a row, or
// the user's saved push messages one to a row, under a foldable header.
#include <QList>
#include <QPointer>
#include <QWidget>

#include "zpushmessage.h"

class QGridLayout;
class QSpacerItem;

namespace zubrel {

class ZPushMessageClass;

class ZPushMessageFrame : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString theme READ theme WRITE setTheme)

public:
    static constexpr int columns = 10;
    static constexpr int deferMs = 20;

    explicit ZPushMessageFrame(QWidget *parent = nullptr);

    QString theme() const { return m_theme; }
    void setTheme(const QString &theme);

    ZPushMessageClass *header() const { return m_header; }
    QWidget *container() const { return m_container; }
    QGridLayout *grid() const { return m_grid; }
    QList<ZPushMessage *> items() const;
    QSpacerItem *spacer() const { return m_spacer; }

signals:
    void add();
    void clicked(const QString &shortcut, const QString &theme = QStringLiteral("default"));
    void hid();

public slots:
    void slotHidePushMessagesTimer();
    void slotHidePushMessages();
    void slotPushMessageTimer();
    void slotPushMessage();

private:
    void loadFavorites();
    void loadTheme();
    void connectItem(ZPushMessage *item);

    QString m_theme;
    bool m_loaded = false;
    ZPushMessageClass *m_header = nullptr;
    QWidget *m_container = nullptr;
    QGridLayout *m_grid = nullptr;
    QList<QPointer<ZPushMessage>> m_favorites;
    QSpacerItem *m_spacer = nullptr; // owned by the grid while placed
    QPointer<ZPushMessage> m_clicked;
    QPointer<ZPushMessage> m_pending;
};

} // namespace zubrel
