#pragma once
// One section of the emoticon picker: a theme (or the user's favourites)
// under a foldable header, its items ten to a row.
#include <QList>
#include <QMap>
#include <QPointer>
#include <QWidget>

#include "zsmiley.h"

class QGridLayout;
class QSpacerItem;

namespace zubrel {


class ZSmileyClass;

class ZSmileyFrame : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString theme READ theme WRITE setTheme)

public:
    static constexpr int columns = 10;
    static constexpr int deferMs = 20;

    explicit ZSmileyFrame(QWidget *parent = nullptr);

    QString theme() const { return m_theme; }
    // Stores the theme and fills the section; "favorites" rebuilds the
    // user's pictures every time, a theme is read once.
    void setTheme(const QString &theme);

    ZSmileyClass *header() const { return m_header; }
    QWidget *container() const { return m_container; }
    QGridLayout *grid() const { return m_grid; }
    const QMap<QString, QString> &shortcutMap() const { return m_shortcuts; }
    const QMap<QString, QString> &soundMap() const { return m_sounds; }
    QList<ZSmiley *> items() const;
    QSpacerItem *spacer() const { return m_spacer; }

signals:
    void add();
    void clicked(const QString &shortcut, const QString &theme = QStringLiteral("default"));
    void hid();

public slots:
    void slotHideSmileysTimer();
    void slotHideSmileys();
    void slotSmileyTimer();
    void slotSmiley();

private:
    void loadFavorites();
    void loadTheme();
    ZSmiley *placeItem(ZSmiley *item);

    QString m_theme;
    bool m_loaded = false;
    ZSmileyClass *m_header = nullptr;
    QWidget *m_container = nullptr;
    QGridLayout *m_grid = nullptr;
    QMap<QString, QString> m_shortcuts;
    QMap<QString, QString> m_sounds;
    QList<QPointer<ZSmiley>> m_favorites;
    QSpacerItem *m_spacer = nullptr; // owned by the grid while placed
    QPointer<ZSmiley> m_clicked;
    QPointer<ZSmiley> m_pending; // item of the running click timer
    int m_count = 0;
};

} // namespace zubrel
