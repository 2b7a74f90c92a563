#pragma once
// The scrolling list of picker sections: the "default" theme first, the
// other installed themes, then the user's favourites.
#include <QList>
#include <QPointer>
#include <QScrollArea>

#include "zsmileyframe.h"

namespace zubrel {



class ZSmileyArea : public QScrollArea
{
    Q_OBJECT

public:
    explicit ZSmileyArea(QWidget *parent = nullptr);

    ZSmileyFrame *defaultFrame() const { return m_default; }
    ZSmileyFrame *favoritesFrame() const { return m_favorites; }
    QList<ZSmileyFrame *> frames() const;

signals:
    void add();
    void clicked(const QString &shortcut, const QString &theme = QStringLiteral("default"));
    void hid();

public slots:
    void slotSmileyClicked(const QString &shortcut, const QString &theme);

private:
    ZSmileyFrame *addFrame(const QString &theme);

    QWidget *m_content = nullptr;
    QPointer<ZSmileyFrame> m_default;
    QPointer<ZSmileyFrame> m_favorites;
};

} // namespace zubrel
