#pragma once
// The emoticon button of a chat tab. It opens the popup with every theme
// and the user's own pictures, reports the chosen picture with smiley(),
// and answers the tab's look-ups (shortcut to picture, picture to sound)
// from the "default" theme. The popup, a hundred labels and more, is built
// when it is first needed: most tabs never open it.
#include <QMap>
#include <QPointer>
#include <QToolButton>

#include "zsmileyareareal.h"

namespace zubrel {



class ZSmileyPicker : public QToolButton
{
    Q_OBJECT

public:
    static constexpr int deferMs = 20;

    explicit ZSmileyPicker(QWidget *parent = nullptr);
    ~ZSmileyPicker() override;

    // The "default" theme's picture for a typed shortcut, or a null string.
    QString smileyImage(const QString &shortcut) const;
    // The sound file name of a picture, or a null string.
    QString smileySound(const QString &image) const;
    QMap<QString, QString> smileyMap() const;
    // Shows or hides the favourites and the "Add an Emoticon" line.
    void setFavoritesEnabled(bool enabled);
    bool favoritesEnabled() const { return m_favoritesEnabled; }
    // F9: the add procedure without opening the popup.
    void addSmiley();

    // The popup, built on first use.
    ZSmileyAreaReal *popup();

signals:
    void smiley(const QString &shortcut);

public slots:
    void slotSmileysTimer();
    void slotSmileys();
    void slotSmileyClicked(const QString &shortcut, const QString &theme);
    void slotPopupClosed();

private:
    void runAddProcedure();

    QPointer<ZSmileyAreaReal> m_popup;
    // The "default" theme's maps, shared with every other tab.
    QMap<QString, QString> m_shortcuts;
    QMap<QString, QString> m_sounds;
    bool m_favoritesEnabled = true;
};

} // namespace zubrel
