#include "zsmileypicker.h"

#include "zfiledialog.h"
#include "zmessagebox.h"
#include "zsettings.h"
#include "zdir.h"
#include "zsmileyarea.h"
#include "zsmileyareareal.h"
#include "zsmileyfavorites.h"
#include "zsmileyframe.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

namespace zubrel {

ZSmileyPicker::ZSmileyPicker(QWidget *parent)
    : QToolButton(parent)
{
    setCheckable(true);
    m_popup = new ZSmileyAreaReal(this);
    m_popup->setMoreSmileys(true);
    m_popup->setSetupSmileys(false);
    connect(this, &QToolButton::clicked, this, &ZSmileyPicker::slotSmileys);
    connect(m_popup.data(), &ZSmileyAreaReal::hid, this, &ZSmileyPicker::slotPopupClosed);
    connect(m_popup.data(), &ZSmileyAreaReal::clicked, this, &ZSmileyPicker::slotSmileyClicked);
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
    const ZSmileyFrame *frame = m_popup ? m_popup->area()->defaultFrame() : nullptr;
    return frame ? frame->shortcutMap().value(shortcut) : QString();
}

QString ZSmileyPicker::smileySound(const QString &image) const
{
    const ZSmileyFrame *frame = m_popup ? m_popup->area()->defaultFrame() : nullptr;
    return frame ? frame->soundMap().value(image) : QString();
}

QMap<QString, QString> ZSmileyPicker::smileyMap() const
{
    const ZSmileyFrame *frame = m_popup ? m_popup->area()->defaultFrame() : nullptr;
    return frame ? frame->shortcutMap() : QMap<QString, QString>();
}

void ZSmileyPicker::setFavoritesEnabled(bool enabled)
{
    m_favoritesEnabled = enabled;
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
        m_popup->hide();
        return;
    }
    QPoint point = mapToGlobal(rect().bottomLeft());
    point.setX(qMax(0, point.x()));
    point.setY(qMax(0, point.y()));
    const QSize size = m_popup->sizeHint();
    const QScreen *screen = QGuiApplication::screenAt(point);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen) {
        const QRect area = screen->geometry();
        // Keep the popup on the screen: line it up with the button's right
        // edge, or open it above the button.
        if (area.width() < point.x() + size.width())
            point.rx() -= size.width() - width();
        if (area.height() < point.y() + size.height() + 2)
            point.ry() -= size.height() + height() - 2;
    }
    m_popup->move(point);
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
