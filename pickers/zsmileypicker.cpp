#include "zsmileypicker.h"

#include "zfiledialog.h"
#include "zmessagebox.h"
#include "zsettings.h"
#include "zdir.h"
#include "zsmileyarea.h"
#include "zsmileyareareal.h"
#include "zsmileyfavorites.h"
#include "zsmileyframe.h"
#include "pickersections.h"
#include "zsmileythemecache.h"

#include <QFileInfo>
#include <QTimer>

namespace zubrel {

ZSmileyPicker::ZSmileyPicker(QWidget *parent)
    : QToolButton(parent)
{
    setCheckable(true);
    // The same maps the popup's "default" section would hold; the themes'
    // pictures are registered now, as building the popup would have done.
    ZSmileyThemeCache::loadInstalled();
    if (ZSmileyTheme::themeNames(ZSmileyTheme::Kind::Smileys).contains(QStringLiteral("default"))) {
        const ZSmileyTheme theme = ZSmileyThemeCache::theme(QStringLiteral("default"));
        if (theme.isValid()) {
            m_shortcuts = theme.shortcutMap();
            m_sounds = theme.soundMap();
        }
    }
    connect(this, &QToolButton::clicked, this, &ZSmileyPicker::slotSmileys);
}

ZSmileyAreaReal *ZSmileyPicker::popup()
{
    if (m_popup)
        return m_popup;
    m_popup = new ZSmileyAreaReal(this);
    m_popup->setMoreSmileys(m_favoritesEnabled);
    m_popup->setSetupSmileys(false);
    if (!m_favoritesEnabled)
        m_popup->area()->favoritesFrame()->setVisible(false);
    connect(m_popup.data(), &ZSmileyAreaReal::hid, this, &ZSmileyPicker::slotPopupClosed);
    connect(m_popup.data(), &ZSmileyAreaReal::clicked, this, &ZSmileyPicker::slotSmileyClicked);
    return m_popup;
}

ZSmileyPicker::~ZSmileyPicker()
{
    // The popup is our child; its hide on destruction must not call back
    // into a half-destroyed button.
    if (m_popup)
        m_popup->disconnect(this);
}

QString ZSmileyPicker::smileyImage(const QString &shortcut) const
{
    return m_shortcuts.value(shortcut);
}

QString ZSmileyPicker::smileySound(const QString &image) const
{
    return m_sounds.value(image);
}

QMap<QString, QString> ZSmileyPicker::smileyMap() const
{
    return m_shortcuts;
}

void ZSmileyPicker::setFavoritesEnabled(bool enabled)
{
    m_favoritesEnabled = enabled;
    if (!m_popup)
        return;
    m_popup->area()->favoritesFrame()->setVisible(enabled);
    m_popup->setMoreSmileys(enabled);
}

void ZSmileyPicker::addSmiley()
{
    slotSmileyClicked(QStringLiteral("more"), QString());
}

void ZSmileyPicker::slotSmileysTimer()
{
    QTimer::singleShot(deferMs, this, &ZSmileyPicker::slotSmileys);
}

void ZSmileyPicker::slotSmileys()
{
    if (!isChecked()) {
        if (m_popup)
            m_popup->hide();
        return;
    }
    popup();
    m_popup->move(PickerSections::popupPosition(this, m_popup->sizeHint()));
    if (m_favoritesEnabled)
        m_popup->area()->favoritesFrame()->setTheme(QStringLiteral("favorites"));
    m_popup->show();
}

void ZSmileyPicker::slotSmileyClicked(const QString &shortcut, const QString &theme)
{
    Q_UNUSED(theme);
    if (shortcut == QLatin1String("setup"))
        return;
    if (shortcut == QLatin1String("more")) {
        runAddProcedure();
        return;
    }
    emit smiley(shortcut);
}

void ZSmileyPicker::slotPopupClosed()
{
    setChecked(false);
    update();
    if (window())
        window()->activateWindow();
}

void ZSmileyPicker::runAddProcedure()
{
    ZSettings *settings = ZSettings::instance();
    const QString start = settings->get(QStringLiteral("extra_smiley_path"), ZDir::myPicturesPath(),
                                        QStringLiteral("zchat")).toString();
    const QString file = ZFileDialog::getOpenFileName(parentWidget(), tr("Choose Smiley"), start,
                                                      ZSmileyFavorites::fileFilter());
    if (file.isEmpty())
        return;
    settings->set(QStringLiteral("extra_smiley_path"), QFileInfo(file).absolutePath(),
                  QStringLiteral("zchat"));
    const ZSmileyFavorites::Result result = ZSmileyFavorites::addPicture(file);
    if (!result.error.isEmpty()) {
        ZMessageBox::information(parentWidget(), tr("Zubrel"), result.error);
        return;
    }
    if (!result.path.isEmpty())
        emit smiley(result.path);
}

} // namespace zubrel
