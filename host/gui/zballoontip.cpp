#include "zballoontip.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

namespace zubrel {

namespace {

QPointer<ZBalloonTip> shown;

} // namespace

ZBalloonTip::ZBalloonTip(QWidget *anchor, const QString &title, const QString &text)
    // Parented to the anchor so it is destroyed with it; the ToolTip flag
    // still makes it a window of its own that takes no focus.
    : QWidget(anchor, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_anchor(anchor)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setObjectName(QStringLiteral("ZBalloonTip"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 8);
    layout->setSpacing(4);
    m_title = new QLabel(title, this);
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    m_title->setVisible(!title.isEmpty());
    m_text = new QLabel(text, this);
    m_text->setWordWrap(true);
    m_text->setMaximumWidth(320);
    layout->addWidget(m_title);
    layout->addWidget(m_text);

    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::ToolTipBase));
    pal.setColor(QPalette::WindowText, pal.color(QPalette::ToolTipText));
    setPalette(pal);

    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &QWidget::close);
}

void ZBalloonTip::present(ZBalloonTip *balloon, const QPoint &globalPos, int msecs)
{
    hideBalloon();
    shown = balloon;
    balloon->adjustSize();

    // Keep the whole bubble on the screen the point is on.
    QRect rect(globalPos, balloon->size());
    if (QScreen *screen = QGuiApplication::screenAt(globalPos)) {
        const QRect area = screen->availableGeometry();
        if (rect.right() > area.right())
            rect.moveRight(area.right());
        if (rect.bottom() > area.bottom())
            rect.moveBottom(globalPos.y() - 1);
        rect.moveLeft(qMax(rect.left(), area.left()));
        rect.moveTop(qMax(rect.top(), area.top()));
    }
    balloon->move(rect.topLeft());
    balloon->show();
    if (msecs > 0)
        balloon->m_timer.start(msecs);
}

void ZBalloonTip::showBalloon(QWidget *anchor, const QString &title, const QString &text, int msecs)
{
    if (!anchor)
        return;
    const QPoint pos = anchor->mapToGlobal(QPoint(anchor->width() / 2, anchor->height()));
    present(new ZBalloonTip(anchor, title, text), pos, msecs);
}

void ZBalloonTip::showBalloon(const QPoint &globalPos, const QString &title, const QString &text,
                              int msecs)
{
    // No anchor to own it: WA_DeleteOnClose disposes of it when it hides.
    present(new ZBalloonTip(nullptr, title, text), globalPos, msecs);
}

void ZBalloonTip::hideBalloon()
{
    if (shown) {
        shown->m_timer.stop();
        shown->close();
    }
    shown = nullptr;
}

bool ZBalloonTip::isActive()
{
    return shown && shown->isVisible();
}

ZBalloonTip *ZBalloonTip::current()
{
    return shown.data();
}

QString ZBalloonTip::title() const
{
    return m_title->text();
}

QString ZBalloonTip::text() const
{
    return m_text->text();
}

void ZBalloonTip::mousePressEvent(QMouseEvent *)
{
    close();
}

void ZBalloonTip::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setBrush(palette().color(QPalette::Window));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
}

} // namespace zubrel
