#pragma once
// The emoticon button of a chat tab. It opens the popup with every theme
// and the user's own pictures, reports the chosen picture with smiley(),
// and answers the tab's look-ups (shortcut to picture, picture to sound)
// from the "default" theme.
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

    ZSmileyAreaReal *popup() const { return m_popup; }

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
    bool m_favoritesEnabled = true;
};

} // namespace zubrel
