#include "zcontactcard.h"

#include "zfaderwidget.h"
#include "zskin.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHash>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QUrl>

namespace zubrel {

namespace {

// Values of setGeneralApp the menu distinguishes.
constexpr int appOtherNetwork = 0;
constexpr int appMultichatContact = 11;
constexpr int appMultichatStranger = 13;
constexpr int appRandomChat = 15;

constexpr int markSize = 12;
constexpr int margin = 4;
constexpr int gap = 6;         // between the picture and the text
constexpr int textSpacing = 2; // between the rows of text

// A skin without the marks still shows what they mean: a drawn picture,
// never a stray letter under the status.
QPixmap drawnMark(const QString &resource)
{
    static QHash<QString, QPixmap> drawn;
    if (const auto found = drawn.constFind(resource); found != drawn.constEnd())
        return *found;
    QPixmap pixmap(markSize, markSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    if (resource.endsWith(u"typing")) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0x1a, 0x73, 0xe8));
        for (int i = 0; i < 3; ++i)
            painter.drawEllipse(QRectF(0.5 + i * 4, 5, 3, 3));
    } else if (resource.endsWith(u"blocked")) {
        painter.setPen(QPen(QColor(0xc0, 0x39, 0x2b), 1.6));
        painter.drawEllipse(QRectF(1.5, 1.5, markSize - 3, markSize - 3));
        painter.drawLine(QPointF(3.5, 3.5), QPointF(markSize - 3.5, markSize - 3.5));
    } else {
        painter.setPen(QPen(QColor(0x44, 0x44, 0x44), 1.2));
        painter.setBrush(QColor(0xe8, 0xe8, 0xe8));
        painter.drawRoundedRect(QRectF(3, 0.5, 6, markSize - 1), 1.5, 1.5);
        painter.drawPoint(QPointF(6, markSize - 2.5));
    }
    painter.end();
    drawn.insert(resource, pixmap);
    return pixmap;
}

QLabel *makeMark(const QString &resource, const QString &tip, QWidget *parent)
{
    auto *label = new QLabel(parent);
    QPixmap pixmap = ZSkin::picture(resource, QSize(markSize, markSize));
    label->setPixmap(pixmap.isNull() ? drawnMark(resource) : pixmap);
    label->setToolTip(tip);
    label->setFixedSize(markSize + 2, markSize + 2);
    label->hide();
    return label;
}

} // namespace

ZContactCard::ZContactCard(QWidget *parent, Parts parts)
    : QWidget(parent)
{
    updateAccessibleText();
    // Reached by Tab; the menu key opens the card's menu.
    setFocusPolicy(Qt::TabFocus);
    if (parts == BuildNow)
        buildParts();
}

void ZContactCard::buildParts()
{
    if (m_avatarLabel)
        return;
    // The parts are placed by hand (placeParts) rather than by nested box
    // layouts: a busy multi chat shows hundreds of cards, and laying each out
    // through layouts asks every label to measure its text when it is shown.
    m_avatarLabel = new QLabel(this);
    m_avatarLabel->setObjectName(QStringLiteral("avatar"));
    m_avatarLabel->setAlignment(Qt::AlignCenter);
    m_avatarLabel->setCursor(Qt::PointingHandCursor);
    m_avatarLabel->installEventFilter(this);

    m_aliasLabel = new QLabel(this);
    m_aliasLabel->setObjectName(QStringLiteral("alias"));
    m_aliasLabel->setTextFormat(Qt::PlainText);
    m_aliasLabel->setFont(aliasFont());

    m_statusIcon = new QLabel(this);
    m_statusIcon->setFixedSize(16, 16);
    m_statusLabel = new QLabel(this);
    m_statusLabel->setObjectName(QStringLiteral("statusName"));
    m_statusLabel->setTextFormat(Qt::PlainText);
    // The card is narrow: the label takes what is left and elides into it
    // instead of being cut mid-letter.
    m_statusLabel->setMinimumWidth(1);
    m_statusLabel->installEventFilter(this);

    // The marks are made when first needed (see updateMarks): most cards
    // never show one, and a busy multi chat creates hundreds of cards.
    // The pencil alone is easy to miss; the words are seen at a glance.
    m_typingText = new QLabel(tr("typing\u2026"), this);
    m_typingText->setObjectName(QStringLiteral("typing"));
    QFont typingFont = m_typingText->font();
    typingFont.setBold(true);
    typingFont.setItalic(true);
    m_typingText->setFont(typingFont);
    // A palette, not a style sheet: a sheet per card makes each of hundreds
    // of cards in a busy multi chat slow to create and to polish.
    QPalette typingPalette = m_typingText->palette();
    typingPalette.setColor(QPalette::WindowText, QColor(0x1a, 0x73, 0xe8));
    m_typingText->setPalette(typingPalette);
    m_typingText->hide();
    m_avatarLabel->setAcceptDrops(m_own);

    // A card already on screen does not show children made after it.
    for (QLabel *part : {m_avatarLabel.data(), m_aliasLabel.data(), m_statusIcon.data(), m_statusLabel.data()})
        part->show();
    updateAvatar();
    updateAlias();
    updateStatus();
    updateMarks();
}

ZContactCard::~ZContactCard() = default;

void ZContactCard::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    if (!hasFocus())
        return;
    QStylePainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = rect().adjusted(1, 1, -1, -1);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}

void ZContactCard::setZubrelId(const QString &id)
{
    m_zubrelId = id;
    updateAlias();
}

void ZContactCard::setAlias(const QString &alias)
{
    const bool changed = alias != m_alias || alias.isNull() != m_alias.isNull();
    m_alias = alias;
    updateAlias();
    if (changed)
        emit aliasChanged(m_alias);
}

void ZContactCard::setAvatar(const QPixmap &pixmap, bool fade)
{
    m_avatarPixmap = pixmap;
    updateAvatar();
    if (fade && m_avatarLabel && isVisible())
        (new ZFaderWidget(m_avatarLabel))->fadeIn();
}

void ZContactCard::setStatus(int status)
{
    // The same status again shows nothing new (the controller sets a default
    // before the contact's own).
    if (status == m_status)
        return;
    m_status = status;
    updateStatus();
    emit statusChanged(Zr::ContactStatus(status));
}

QString ZContactCard::statusName() const
{
    return ZSkin::statusName(m_status);
}

void ZContactCard::setGeneralApp(int app)
{
    m_generalApp = app;
}

void ZContactCard::setMobile(bool mobile)
{
    m_mobile = mobile;
    updateMarks();
}

void ZContactCard::setOwn(bool own)
{
    m_own = own;
    // Only the user's own picture can be replaced.
    if (m_avatarLabel)
        m_avatarLabel->setAcceptDrops(own);
    updateMarks();
}

void ZContactCard::setInternalId(int id)
{
    m_internalId = id;
}

void ZContactCard::setBlocked(bool blocked)
{
    m_blocked = blocked;
    updateMarks();
}

void ZContactCard::setTyping(bool typing)
{
    const bool changed = typing != m_typing;
    m_typing = typing;
    updateMarks();
    if (changed)
        updateAccessibleText();
    if (changed)
        emit isTyping(typing);
}

void ZContactCard::setBig(bool big)
{
    m_big = big;
    updateAvatar();
}

void ZContactCard::addAction(const QString &id, const QString &text)
{
    if (id.isEmpty())
        return;
    for (auto &entry : m_customActions) {
        if (entry.first == id) {
            entry.second = text;
            return;
        }
    }
    m_customActions.append({id, text});
}

void ZContactCard::removeAction(const QString &id)
{
    m_customActions.removeIf([&id](const auto &entry) { return entry.first == id; });
}

QList<QPair<QString, QString>> ZContactCard::menuEntries() const
{
    QList<QPair<QString, QString>> entries;
    if (m_own) {
        entries.append({QStringLiteral("profile"), tr("My Profile")});
    } else if (m_generalApp == appRandomChat) {
        entries.append({QStringLiteral("profile"), tr("View Profile")});
    } else if (m_generalApp == appMultichatStranger) {
        entries.append({QStringLiteral("profile"), tr("View Profile")});
        entries.append({QStringLiteral("auth"), tr("Add to Contact List...")});
    } else if (m_generalApp == appOtherNetwork) {
        // Contacts on other networks only support plain chatting.
        entries.append({QStringLiteral("chat"), tr("Send Message")});
    } else {
        entries.append({QStringLiteral("chat"), tr("Send Message")});
        entries.append({QStringLiteral("profile"), tr("View Profile")});
        entries.append({QStringLiteral("voip"), tr("Call")});
        entries.append({QStringLiteral("filetransfer"), tr("Send File...")});
        entries.append({QStringLiteral("webfolder"), tr("Open Web Folder")});
    }
    if (!m_own) {
        entries.append(m_blocked ? qMakePair(QStringLiteral("unblock"), tr("Unblock"))
                                 : qMakePair(QStringLiteral("block"), tr("Block")));
        const bool participant = m_generalApp == appMultichatContact || m_generalApp == appMultichatStranger;
        if (m_generalApp != appRandomChat)
            entries.append({QStringLiteral("exit"), participant ? tr("Kick from Multi Chat") : tr("Close Chat")});
    }
    entries.append(m_customActions);
    return entries;
}

QStringList ZContactCard::actionIds() const
{
    QStringList ids;
    for (const auto &entry : menuEntries())
        ids.append(entry.first);
    return ids;
}

std::unique_ptr<QMenu> ZContactCard::createContextMenu()
{
    // No parent: an action may close the window this card lives in, and the
    // menu must outlive that until exec() returns.
    auto menu = std::make_unique<QMenu>();
    const QPointer<ZContactCard> self(this);
    bool separated = false;
    for (const auto &entry : menuEntries()) {
        if (!separated && m_customActions.contains(entry)) {
            menu->addSeparator();
            separated = true;
        }
        QAction *action = menu->addAction(entry.second);
        action->setData(entry.first);
        const QString id = entry.first;
        connect(action, &QAction::triggered, menu.get(), [self, id] {
            if (self)
                emit self->actionId(id);
        });
    }
    return menu;
}

void ZContactCard::contextMenuEvent(QContextMenuEvent *event)
{
    std::unique_ptr<QMenu> menu = createContextMenu();
    menu->exec(event->globalPos());
}

bool ZContactCard::isPictureFile(const QString &fileName)
{
    static const QStringList suffixes = {QStringLiteral("png"), QStringLiteral("jpg"), QStringLiteral("jpeg"),
                                         QStringLiteral("gif"), QStringLiteral("bmp")};
    const QFileInfo info(fileName);
    return info.isFile() && suffixes.contains(info.suffix().toLower());
}

QStringList ZContactCard::droppedPictures(const QMimeData *mime) const
{
    QStringList files;
    if (!m_own || !mime || !mime->hasUrls())
        return files;
    // Only local picture files: a URL dragged from a browser is no file the
    // host could upload, and other files would be sent as a broken picture.
    for (const QUrl &url : mime->urls()) {
        if (url.isLocalFile() && isPictureFile(url.toLocalFile()))
            files.append(url.toLocalFile());
    }
    return files;
}

bool ZContactCard::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_statusLabel && event->type() == QEvent::Resize)
        showStatusText();
    if (watched != m_avatarLabel)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonRelease: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && m_avatarLabel->rect().contains(mouse->position().toPoint()))
            emit avatarClicked();
        return false;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        if (droppedPictures(drag->mimeData()).isEmpty())
            drag->ignore();
        else
            drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const QStringList files = droppedPictures(drop->mimeData());
        if (files.isEmpty()) {
            drop->ignore();
            return true;
        }
        drop->acceptProposedAction();
        emit newAvatar(files);
        return true;
    }
    default:
        return false;
    }
}

QFont ZContactCard::aliasFont() const
{
    QFont bold = font();
    bold.setBold(true);
    return bold;
}

void ZContactCard::updateAccessibleText()
{
    // The card speaks for itself, also while its labels wait to be made.
    setAccessibleName(m_alias.isEmpty() ? m_zubrelId : m_alias);
    setAccessibleDescription(m_typing ? QStringLiteral("%1, %2").arg(statusName(), tr("typing\u2026")) : statusName());
}

void ZContactCard::updateAlias()
{
    updateAccessibleText();
    if (!m_aliasLabel)
        return;
    const QString shown = m_alias.isEmpty() ? m_zubrelId : m_alias;
    m_aliasLabel->setText(shown);
    m_aliasLabel->setToolTip(shown);
}

void ZContactCard::updateStatus()
{
    updateAccessibleText();
    if (m_statusIcon)
        m_statusIcon->setPixmap(ZSkin::statusIcon(m_status, 16));
    showStatusText();
}

void ZContactCard::showStatusText()
{
    if (!m_statusLabel)
        return;
    const QString name = statusName();
    const int width = m_statusLabel->contentsRect().width();
    // Before the first layout the width means nothing: show the whole name.
    const bool laidOut = m_statusLabel->testAttribute(Qt::WA_Resized) || m_statusLabel->isVisible();
    const QString shown = laidOut ? m_statusLabel->fontMetrics().elidedText(name, Qt::ElideRight, width) : name;
    m_statusLabel->setText(shown);
    m_statusLabel->setToolTip(name);
}

void ZContactCard::updateMarks()
{
    if (!m_avatarLabel)
        return;
    const auto show = [this](QPointer<QLabel> &mark, bool shown, const char *resource, const QString &tip) {
        if (!mark && shown)
            mark = makeMark(QString::fromLatin1(resource), tip, this);
        if (mark)
            mark->setVisible(shown);
    };
    show(m_typingMark, m_typing, ":/marks/typing", tr("Typing"));
    if (m_typingText)
        m_typingText->setVisible(m_typing);
    show(m_blockedMark, m_blocked && !m_own, ":/marks/blocked", tr("Blocked"));
    show(m_mobileMark, m_mobile, ":/marks/mobile", tr("Mobile"));
    placeParts();
}

void ZContactCard::updateAvatar()
{
    if (!m_avatarLabel)
        return;
    const int edge = m_big ? 64 : 48;
    QPixmap shown = m_avatarPixmap;
    if (shown.isNull())
        shown = ZSkin::picture(QStringLiteral(":/avatar/default"), QSize(edge, edge));
    else
        shown = shown.scaled(edge, edge, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    m_avatarLabel->setPixmap(shown);
    m_avatarLabel->setFixedSize(edge, edge);
    placeParts();
}

// Where the parts go: the picture at the top left, beside it the alias, the
// status (icon and name) and the row of marks, top to bottom; the text
// column takes the rest of the card's width.
ZContactCard::PartRects ZContactCard::partRects(int width, bool withTextWidth) const
{
    PartRects p;
    const int edge = m_big ? 64 : 48;
    p.avatar = QRect(margin, margin, edge, edge);
    const int x = margin + edge + gap;
    const int column = qMax(0, width - x - margin);
    int y = margin;
    const QFontMetrics aliasMetrics(aliasFont());
    const int aliasHeight = aliasMetrics.height();
    p.alias = QRect(x, y, column, aliasHeight);
    y += aliasHeight + textSpacing;
    const int rowHeight = qMax(16, fontMetrics().height());
    p.statusIcon = QRect(x, y, 16, 16);
    p.statusName = QRect(x + 16 + 3, y, qMax(1, column - 16 - 3), rowHeight);
    y += rowHeight + textSpacing;
    // Marks in their order, each as wide as it wants, left aligned.
    int markX = x;
    int markHeight = 0;
    for (const QLabel *mark : {m_typingMark.data(), m_typingText.data(), m_blockedMark.data(), m_mobileMark.data()}) {
        if (!mark || mark->isHidden())
            continue;
        const QSize size = mark->sizeHint().expandedTo(mark->minimumSize()).boundedTo(mark->maximumSize());
        p.marks.append(QRect(markX, y, size.width(), size.height()));
        markX += size.width() + 2;
        markHeight = qMax(markHeight, size.height());
    }
    for (QRect &mark : p.marks)
        mark.setHeight(markHeight);
    // Only a size hint needs the alias measured.
    if (withTextWidth)
        p.textWidth = qMax(m_aliasLabel ? m_aliasLabel->sizeHint().width()
                                        : aliasMetrics.horizontalAdvance(m_alias.isEmpty() ? m_zubrelId : m_alias),
                           markX - x);
    p.height = qMax(margin + edge, y + markHeight) + margin;
    return p;
}

void ZContactCard::placeParts()
{
    if (!m_avatarLabel || !m_aliasLabel || !m_statusIcon || !m_statusLabel)
        return;
    const PartRects p = partRects(width(), false);
    m_avatarLabel->setGeometry(p.avatar);
    m_aliasLabel->setGeometry(p.alias);
    m_statusIcon->setGeometry(p.statusIcon);
    m_statusLabel->setGeometry(p.statusName);
    int next = 0;
    for (QLabel *mark : {m_typingMark.data(), m_typingText.data(), m_blockedMark.data(), m_mobileMark.data()}) {
        if (mark && !mark->isHidden())
            mark->setGeometry(p.marks.value(next++));
    }
}

QSize ZContactCard::sizeHint() const
{
    const PartRects p = partRects(0, true);
    return QSize(p.avatar.right() + 1 + gap + p.textWidth + margin, p.height);
}

QSize ZContactCard::minimumSizeHint() const
{
    return sizeHint();
}

void ZContactCard::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeParts();
}

void ZContactCard::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        placeParts();
}

} // namespace zubrel
