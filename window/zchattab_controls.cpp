// The tab's edit toolbar and what hangs off it: font toolbar, colour, sound,
// spelling menu, lock indicator, and the two toolbars that slide in over the
// lower edge of the view.
#include "zchattab.h"
#include "zchattab_p.h"

#include "qtcolorpicker.h"
#include "zchatspelling.h"
#include "zcontactcardlist.h"
#include "zfaderwidget.h"
#include "zchatpushtoolbar.h"
#include "zimagebutton.h"
#include "zmessageview.h"
#include "zpushmessagepicker.h"
#include "zsettings.h"
#include "zsmileypicker.h"
#include "zsmileytabbinding.h"
#include "zspelling.h"
#include "ztextedit.h"
#include "zresourceicon.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QFontComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QTimerEvent>
#include <QToolBar>
#include <QToolButton>

namespace zubrel {

namespace {
constexpr int idleToolbarMs = 30000;
const QString zchatGroup = QStringLiteral("zchat");
const QString spellingGroup = QStringLiteral("spelling");

// The family a fresh family box shows for the tab's default font, which is
// the closest installed one: found once, so that a tab whose font toolbar
// was never built formats its input exactly as a built one would.
QString defaultFamily()
{
    static const QString family = [] {
        QFontComboBox box;
        box.setCurrentFont(QFont(QStringLiteral("Tahoma")));
        return box.currentText();
    }();
    return family;
}

const QString defaultSize = QStringLiteral("10");

QToolButton *toolButton(QWidget *parent, const QString &tip, const QString &icon, const QKeySequence &key)
{
    auto *button = new QToolButton(parent);
    button->setToolTip(tip);
    button->setAccessibleName(tip);
    button->setIcon(ZResourceIcon::get(icon));
    button->setShortcut(key);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoRaise(true);
    return button;
}
} // namespace

void ZChatTab::buildEditToolBar()
{
    m_editToolBar = new QToolBar(tr("zubrel edit toolbar"), m_lower);
    m_editToolBar->setObjectName(QStringLiteral("editToolBar"));
    m_editToolBar->setIconSize(QSize(24, 24));
    m_editToolBar->setMovable(false);
    m_editToolBar->setContextMenuPolicy(Qt::CustomContextMenu);

    auto *edge = new QLabel(m_editToolBar);
    edge->setPixmap(QPixmap(QStringLiteral(":/toolbar_sub_left")).scaledToWidth(42, Qt::SmoothTransformation));
    edge->setMaximumHeight(30);
    m_editToolBar->addWidget(edge);

    m_fontAction = m_editToolBar->addAction(ZResourceIcon::get(QStringLiteral(":/text-24")), tr("Turn font settings on/off"));
    m_fontAction->setCheckable(true);
    m_fontAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+F")));
    connect(m_fontAction, &QAction::triggered, this, &ZChatTab::slotFontTimer);

    m_colorPicker = new QtColorPicker(m_editToolBar, -1, true);
    m_colorPicker->setStandardColors();
    m_colorPicker->setColorDialogEnabled(true);
    m_colorPicker->setFocusPolicy(Qt::NoFocus);
    m_colorPicker->setToolTip(tr("Choose font color"));
    m_colorPicker->setAccessibleName(m_colorPicker->toolTip());
    m_colorPicker->setIcon(ZResourceIcon::get(QStringLiteral(":/color-24")));
    m_colorPicker->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+C")));
    m_colorAction = m_editToolBar->addWidget(m_colorPicker);
    connect(m_colorPicker, &QtColorPicker::colorChanged, this, &ZChatTab::slotTextColor);

    m_soundAction = m_editToolBar->addAction(ZResourceIcon::get(QStringLiteral(":/sound_on-24")), tr("Mute sounds"));
    m_soundAction->setCheckable(true);
    m_soundAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+M")));
    connect(m_soundAction, &QAction::triggered, this, &ZChatTab::slotSoundTimer);

    m_spellButton = toolButton(m_editToolBar, tr("Spellchecking"), QStringLiteral(":/abc-24"),
                               QKeySequence(QStringLiteral("Ctrl+Shift+S")));
    m_spellButton->setPopupMode(QToolButton::InstantPopup);
    m_spellAction = m_editToolBar->addWidget(m_spellButton);

    auto *stretch = new QWidget(m_editToolBar);
    stretch->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_editToolBar->addWidget(stretch);

    // The emoticon picker: a checkable button whose popup lists the themes
    // and the user's own pictures; the binding ties it to this tab.
    auto *picker = new ZSmileyPicker(m_editToolBar);
    picker->setToolTip(tr("Insert emoticon"));
    picker->setAccessibleName(picker->toolTip());
    picker->setIcon(ZResourceIcon::get(QStringLiteral(":/smilie-24")));
    picker->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+E")));
    picker->setFocusPolicy(Qt::NoFocus);
    picker->setAutoRaise(true);
    ZSmileyTabBinding::connectPicker(this, picker);
    m_smileyButton = picker;
    m_smileyButton->setObjectName(QStringLiteral("smileyButton"));
    m_smileyAction = m_editToolBar->addWidget(m_smileyButton);

    m_pushButton = toolButton(m_editToolBar, tr("Record push message"), QStringLiteral(":/megaphone-24"),
                              QKeySequence(Qt::Key_F2));
    m_pushButton->setObjectName(QStringLiteral("pushMessageButton"));
    m_pushButton->setCheckable(true);
    m_pushAction = m_editToolBar->addWidget(m_pushButton);
    connect(m_pushButton, &QToolButton::clicked, this, &ZChatTab::slotPushMessageTimer);

    // The push-message picker: theme clips and the user's saved ones.
    auto *pushPicker = new ZPushMessagePicker(m_editToolBar);
    pushPicker->setToolTip(tr("View saved push messages"));
    pushPicker->setAccessibleName(pushPicker->toolTip());
    pushPicker->setIcon(ZResourceIcon::get(QStringLiteral(":/pushmessage_arrow")));
    pushPicker->setFocusPolicy(Qt::NoFocus);
    pushPicker->setAutoRaise(true);
    m_pushPickerButton = pushPicker;
    m_pushPickerButton->setObjectName(QStringLiteral("pushMessagePicker"));
    m_pushPickerButton->setMaximumSize(10, 32);
    m_pushPickerAction = m_editToolBar->addWidget(m_pushPickerButton);
    connect(pushPicker, &QToolButton::pressed, this, &ZChatTab::slotPushMessagePressed);
    connect(pushPicker, &QToolButton::released, this, &ZChatTab::slotPushMessageReleased);
    connect(pushPicker, &QToolButton::toggled, m_pushButton, &QToolButton::setChecked);
    connect(pushPicker, &ZPushMessagePicker::record, this, &ZChatTab::slotPushMessageTimer);
    connect(pushPicker, &ZPushMessagePicker::pushMessage, this, &ZChatTab::sendChosenPushMessage);

    auto *gap = new QWidget(m_editToolBar);
    gap->setFixedWidth(105);
    m_editToolBar->addWidget(gap);

    m_lockLabel = new QLabel(m_editToolBar);
    m_lockLabel->setObjectName(QStringLiteral("lockLabel"));
    m_lockLabel->setToolTip(tr("Encryption disabled"));
    m_lockLabel->setPixmap(QPixmap(QStringLiteral(":/lock1-24")));
    m_editToolBar->addWidget(m_lockLabel);

    auto *arrows = new QWidget(m_editToolBar);
    arrows->setFixedSize(78, 34);
    auto *arrowsLayout = new QVBoxLayout(arrows);
    arrowsLayout->setContentsMargins(2, 0, 2, 0);
    arrowsLayout->setSpacing(2);
    m_userListArrow = new ZImageButton(arrows);
    m_userListArrow->setObjectName(QStringLiteral("userListArrow"));
    m_userListArrow->setToolTip(tr("Hide/show user list"));
    m_userListArrow->setAccessibleName(m_userListArrow->toolTip());
    setArrow(m_userListArrow, QStringLiteral("top_right"));
    m_ownArrow = new ZImageButton(arrows);
    m_ownArrow->setObjectName(QStringLiteral("ownUserArrow"));
    m_ownArrow->setToolTip(tr("Hide/show own user"));
    m_ownArrow->setAccessibleName(m_ownArrow->toolTip());
    setArrow(m_ownArrow, QStringLiteral("down_right"));
    arrowsLayout->addWidget(m_userListArrow);
    arrowsLayout->addWidget(m_ownArrow);
    m_editToolBar->addWidget(arrows);
    connect(m_userListArrow, &ZImageButton::clicked, this, &ZChatTab::slotHideOtherAvatarTimer);
    connect(m_ownArrow, &ZImageButton::clicked, this, &ZChatTab::slotHideOwnAvatarTimer);
}

QToolBar *ZChatTab::fontToolBar()
{
    if (!m_fontToolBar)
        buildFontToolBar();
    return m_fontToolBar;
}

void ZChatTab::buildFontToolBar()
{
    m_fontToolBar = new QToolBar(tr("zubrel font toolbar"), this);
    m_fontToolBar->setObjectName(QStringLiteral("fontToolBar"));
    m_fontToolBar->setIconSize(QSize(22, 22));
    m_fontToolBar->setMovable(false);
    m_fontToolBar->setContextMenuPolicy(Qt::CustomContextMenu);
    m_fontToolBar->setAutoFillBackground(false);
    auto *spacer = new QWidget(m_fontToolBar);
    spacer->setFixedWidth(42);
    m_fontToolBar->addWidget(spacer);

    auto addToggle = [this](const QString &icon, const QString &text, const QKeySequence &key) {
        QAction *action = m_fontToolBar->addAction(ZResourceIcon::get(icon), text);
        action->setCheckable(true);
        action->setShortcut(key);
        return action;
    };
    m_boldAction = addToggle(QStringLiteral(":/bold-24"), tr("&Bold"), QKeySequence::Bold);
    m_italicAction = addToggle(QStringLiteral(":/italic-24"), tr("&Italic"), QKeySequence::Italic);
    m_underlineAction = addToggle(QStringLiteral(":/underline-24"), tr("&Underline"), QKeySequence::Underline);
    connect(m_boldAction, &QAction::triggered, this, &ZChatTab::slotTextBold);
    connect(m_italicAction, &QAction::triggered, this, &ZChatTab::slotTextItalic);
    connect(m_underlineAction, &QAction::triggered, this, &ZChatTab::slotTextUnderline);

    m_familyBox = new QFontComboBox(m_fontToolBar);
    m_familyBox->setEditable(false);
    m_familyBox->setAccessibleName(tr("Font family"));
    m_familyBox->setFocusPolicy(Qt::NoFocus);
    m_familyBox->setMaximumHeight(22);
    m_familyBox->setCurrentFont(QFont(QStringLiteral("Tahoma")));
    m_fontToolBar->addWidget(m_familyBox);
    connect(m_familyBox, &QComboBox::textActivated, this, &ZChatTab::slotTextFamily);
    auto *gap = new QWidget(m_fontToolBar);
    gap->setFixedWidth(1);
    m_fontToolBar->addWidget(gap);

    m_sizeBox = new QComboBox(m_fontToolBar);
    m_sizeBox->setFocusPolicy(Qt::NoFocus);
    m_sizeBox->setAccessibleName(tr("Font size"));
    m_sizeBox->setMaximumHeight(22);
    for (int size : QFontDatabase::standardSizes())
        m_sizeBox->addItem(QString::number(size));
    m_sizeBox->setCurrentIndex(m_sizeBox->findText(defaultSize));
    m_fontToolBar->addWidget(m_sizeBox);
    connect(m_sizeBox, &QComboBox::textActivated, this, &ZChatTab::slotTextSize);

    m_resetAction = m_fontToolBar->addAction(ZResourceIcon::get(QStringLiteral(":/text_reset-24")), tr("&Reset font"));
    m_resetAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+R")));
    connect(m_resetAction, &QAction::triggered, this, &ZChatTab::slotFontReset);
    m_fontToolBar->hide();
}

void ZChatTab::buildRecorderToolBar()
{
    m_recorder = new ZChatPushToolBar(this);
    m_recorderToolBar = m_recorder;
    m_recorder->installEventFilter(this);
    connect(m_recorder, &ZChatPushToolBar::hid, this, &ZChatTab::slotCloseToolbars);
    connect(m_recorder, &ZChatPushToolBar::sendPushMessage, this, &ZChatTab::sendPushMessage);
    connect(m_recorder, &ZChatPushToolBar::recordingFailed, this, &ZChatTab::appendErrorMessage);
}

void ZChatTab::sendChosenPushMessage(const QString &fileName)
{
    // A saved clip may have gone since the picker listed it.
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        appendErrorMessage(tr("The push message could not be sent: its file cannot be read."));
        return;
    }
    emit sendPushMessage(fileName);
}

void ZChatTab::buildSpellingMenu()
{
    if (!m_spellMenu) {
        m_spellMenu = new QMenu(tr("Spelling"), this);
        m_spellButton->setMenu(m_spellMenu);
    }
    m_spellMenu->clear();
    if (!ZSpelling::instance()->isAvailable()) {
        m_spellAction->setVisible(false);
        return;
    }
    m_spellAction->setVisible(true);
    auto *settings = ZSettings::instance();
    const bool enabled = settings->get(QStringLiteral("spelling"), true, spellingGroup).toBool();
    const bool regardCase = settings->get(QStringLiteral("spelling_regard_case"), false, spellingGroup).toBool();
    // The language chosen last time, while it is still installed.
    const QString chosen = settings->get(QStringLiteral("spelling_language"), QString(), spellingGroup).toString();
    if (!chosen.isEmpty() && chosen != input->dict() && input->availDicts().contains(chosen))
        input->setDict(chosen);
    input->setSpellChecking(enabled);
    input->setRegardCase(regardCase);

    QAction *enable = m_spellMenu->addAction(tr("Enable/disable spelling"));
    enable->setCheckable(true);
    enable->setChecked(enabled);
    connect(enable, &QAction::triggered, this, &ZChatTab::slotEnableSpellTimer);
    QAction *caseEntry = m_spellMenu->addAction(tr("Regard/disregard case"));
    caseEntry->setCheckable(true);
    caseEntry->setChecked(regardCase);
    connect(caseEntry, &QAction::triggered, this, &ZChatTab::slotRegardCaseTimer);
    QMenu *language = m_spellMenu->addMenu(tr("Language"));
    const QStringList dicts = input->availDicts();
    if (dicts.isEmpty())
        language->addAction(tr("No dictionaries installed"))->setEnabled(false);
    for (const QString &dict : dicts) {
        QAction *entry = language->addAction(dict);
        entry->setCheckable(true);
        entry->setChecked(dict == input->dict());
        // Choosing a language switches the input's dictionary at once.
        connect(entry, &QAction::triggered, this, [this, dict] {
            input->setDict(dict);
            ZSettings::instance()->set(QStringLiteral("spelling_language"), dict, spellingGroup);
            QTimer::singleShot(20, this, &ZChatTab::rebuildSpellingMenu);
        });
    }
    m_spellMenu->addSeparator();
    connect(m_spellMenu->addAction(tr("Setup dictionaries")), &QAction::triggered, this,
            &ZChatTab::slotLoadDictionary);
}

void ZChatTab::rebuildSpellingMenu()
{
    ZSpelling::instance()->reload();
    buildSpellingMenu();
}

void ZChatTab::slotEnableSpellTimer() { QTimer::singleShot(20, this, &ZChatTab::slotEnableSpell); }
void ZChatTab::slotRegardCaseTimer() { QTimer::singleShot(20, this, &ZChatTab::slotRegardCase); }

void ZChatTab::slotEnableSpell()
{
    input->setSpellChecking(!input->spellChecking());
    ZSettings::instance()->set(QStringLiteral("spelling"), input->spellChecking(), spellingGroup);
}

void ZChatTab::slotRegardCase()
{
    input->setRegardCase(!input->regardCase());
    ZSettings::instance()->set(QStringLiteral("spelling_regard_case"), input->regardCase(), spellingGroup);
}

void ZChatTab::slotLoadDictionary()
{
    const QPointer<ZChatTab> self(this);
    QString installed;
    const bool accepted = ZChatSpelling::installDictionaries(this, &installed);
    // The modal dialog may have outlived the tab.
    if (!self || !accepted)
        return;
    rebuildSpellingMenu();
    // A language just installed is the one the user wants to write in.
    if (!installed.isEmpty() && input->setDict(installed)) {
        ZSettings::instance()->set(QStringLiteral("spelling_language"), installed, spellingGroup);
        buildSpellingMenu();
    }
}

void ZChatTab::slotTextBold()
{
    input->setFocus();
    input->setFontWeight(m_boldAction->isChecked() ? QFont::Bold : QFont::Normal);
}

void ZChatTab::slotTextItalic()
{
    input->setFocus();
    input->setFontItalic(m_italicAction->isChecked());
}

void ZChatTab::slotTextUnderline()
{
    input->setFocus();
    input->setFontUnderline(m_underlineAction->isChecked());
}

void ZChatTab::slotTextFamily(const QString &family)
{
    input->setFocus();
    input->setFontFamily(family);
}

void ZChatTab::slotTextSize(const QString &size)
{
    input->setFocus();
    const qreal points = size.toDouble();
    if (points > 0)
        input->setFontPointSize(points);
}

void ZChatTab::slotTextColor(const QColor &color)
{
    input->setFocus();
    input->setTextColor(color);
}

void ZChatTab::slotFontReset()
{
    fontToolBar(); // resetting works on the toolbar's controls, built or not
    for (QAction *action : {m_boldAction, m_italicAction, m_underlineAction})
        action->setChecked(false);
    slotTextBold();
    slotTextItalic();
    slotTextUnderline();
    m_familyBox->setCurrentFont(QFont(QStringLiteral("Tahoma")));
    slotTextFamily(m_familyBox->currentText());
    m_sizeBox->setCurrentIndex(m_sizeBox->findText(QStringLiteral("10")));
    slotTextSize(QStringLiteral("10"));
}

void ZChatTab::applyToolbarFormat()
{
    // Deleting text or emptying the input must not lose the chosen format.
    // A toolbar not built yet still holds its initial choices.
    const bool built = m_fontToolBar != nullptr;
    QTextCharFormat format = input->currentCharFormat();
    format.setFontWeight(built && m_boldAction->isChecked() ? QFont::Bold : QFont::Normal);
    format.setFontItalic(built && m_italicAction->isChecked());
    format.setFontUnderline(built && m_underlineAction->isChecked());
    format.setFontFamilies({built ? m_familyBox->currentText() : defaultFamily()});
    const qreal points = (built ? m_sizeBox->currentText() : defaultSize).toDouble();
    if (points > 0)
        format.setFontPointSize(points);
    input->setCurrentCharFormat(format);
}

void ZChatTab::slotCurrentCharFormatChanged(const QTextCharFormat &)
{
    if (input->document()->isEmpty())
        applyToolbarFormat();
}

void ZChatTab::slotSoundTimer() { QTimer::singleShot(20, this, &ZChatTab::slotSound); }

void ZChatTab::slotSound()
{
    const bool muted = m_soundAction->isChecked();
    m_soundAction->setIcon(ZResourceIcon::get(muted ? QStringLiteral(":/sound_off-24") : QStringLiteral(":/sound_on-24")));
    m_soundAction->setText(muted ? tr("Play sounds") : tr("Mute sounds"));
    m_sound = !muted;
    ZSettings::instance()->set(QStringLiteral("sound"), m_sound, zchatGroup);
}

void ZChatTab::setPlain(bool disabled)
{
    m_plain = disabled;
    ZSettings::instance()->set(QStringLiteral("plain"), disabled, zchatGroup);
    view->setPlain(disabled);
    slotMoveOutputWidgetsTimer();
}

void ZChatTab::setEncrypted(bool on)
{
    encrypted = on;
    // Start from the opposite picture so the animation is seen to change it.
    m_lockLabel->setToolTip(on ? tr("Encryption disabled") : tr("Encryption enabled"));
    m_lockLabel->setPixmap(QPixmap(on ? QStringLiteral(":/lock1-24") : QStringLiteral(":/lock7-24")));
    slotCryptoAnimation(on);
}

void ZChatTab::slotCryptoAnimation(bool on)
{
    m_lockClosing = on;
    m_lockFrame = on ? 1 : 7;
    slotAnimate();
}

void ZChatTab::slotAnimate()
{
    m_lockFrame += m_lockClosing ? 1 : -1;
    m_lockFrame = qBound(1, m_lockFrame, 7);
    m_lockLabel->setPixmap(QPixmap(QStringLiteral(":/lock%1-24").arg(m_lockFrame)));
    const bool done = m_lockClosing ? m_lockFrame >= 7 : m_lockFrame <= 1;
    if (!done) {
        QTimer::singleShot(150, this, &ZChatTab::slotAnimate);
        return;
    }
    m_lockLabel->setToolTip(m_lockClosing ? tr("Encryption enabled") : tr("Encryption disabled"));
}

// Sliding toolbars -----------------------------------------------------------

void ZChatTab::slotFontTimer() { QTimer::singleShot(20, this, &ZChatTab::slotFont); }
void ZChatTab::slotPushMessageTimer() { QTimer::singleShot(20, this, &ZChatTab::slotPushMessage); }

void ZChatTab::slotFont()
{
    toggleSlidingToolBar(fontToolBar());
}

void ZChatTab::slotPushMessage()
{
    toggleSlidingToolBar(m_recorderToolBar);
}

void ZChatTab::slotPushMessagePressed()
{
    m_pushButton->setDown(true);
}

void ZChatTab::slotPushMessageReleased()
{
    m_pushButton->setDown(false);
}

bool ZChatTab::isFontToolBarShown() const
{
    return m_fontToolBar && m_fontToolBar->isVisible() && !m_fontClosing;
}

bool ZChatTab::isRecorderShown() const
{
    return m_recorderToolBar->isVisible() && !m_recorderClosing;
}

void ZChatTab::toggleSlidingToolBar(QToolBar *bar)
{
    const bool closing = bar == m_fontToolBar ? m_fontClosing : m_recorderClosing;
    if (bar->isVisible() && !closing)
        hideSlidingToolBar(bar);
    else
        showSlidingToolBar(bar);
}

void ZChatTab::placeSlidingToolBar(QToolBar *bar)
{
    const QPoint lowerPos = m_lower->mapTo(this, QPoint(0, 0));
    bar->move(lowerPos.x(), lowerPos.y() - (m_editToolBar->height() + 1));
    bar->resize(view->width() - 1, 34);
}

void ZChatTab::showSlidingToolBar(QToolBar *bar)
{
    const bool font = bar == m_fontToolBar;
    QToolBar *other = font ? m_recorderToolBar : m_fontToolBar;
    (font ? m_fontClosing : m_recorderClosing) = false;
    placeSlidingToolBar(bar);
    bar->show();
    bar->raise();
    (new ZFaderWidget(bar))->fadeIn();
    if (other)
        other->hide();
    (font ? m_recorderTimer : m_fontTimer).stop();
    (font ? m_fontTimer : m_recorderTimer).start(idleToolbarMs, this);
    if (font) {
        m_pushButton->setChecked(false);
        m_fontAction->setChecked(true);
    } else {
        bar->grabKeyboard();
        m_pushButton->setChecked(true);
        m_fontAction->setChecked(false);
        m_recorder->startRecording();
    }
}

void ZChatTab::hideSlidingToolBar(QToolBar *bar)
{
    const bool font = bar == m_fontToolBar;
    (font ? m_fontClosing : m_recorderClosing) = true;
    auto *fader = new ZFaderWidget(bar);
    connect(fader, &ZFaderWidget::done, this, &ZChatTab::slotFadeDone);
    fader->fadeOut();
    m_fontTimer.stop();
    m_recorderTimer.stop();
    if (font) {
        m_fontAction->setChecked(false);
    } else {
        m_pushButton->setChecked(false);
        // Closed without "Stop recording": nothing is sent.
        m_recorder->cancel();
    }
}

void ZChatTab::slotCloseToolbars()
{
    // A toolbar already fading out is left alone: one fade-out per closing.
    if (m_fontToolBar && m_fontToolBar->isVisible() && !m_fontClosing)
        hideSlidingToolBar(m_fontToolBar);
    if (m_recorderToolBar && m_recorderToolBar->isVisible() && !m_recorderClosing)
        hideSlidingToolBar(m_recorderToolBar);
}

void ZChatTab::slotSplitterMoved(int, int)
{
    slotCloseToolbars();
}

void ZChatTab::slotFadeDone(bool fadeOut)
{
    if (!fadeOut)
        return;
    if (m_fontToolBar)
        m_fontToolBar->hide();
    m_recorderToolBar->hide();
    m_recorder->stopTimer();
    m_recorderToolBar->releaseKeyboard();
    view->viewport()->update();
    m_fontClosing = false;
    m_recorderClosing = false;
}

void ZChatTab::timerEvent(QTimerEvent *event)
{
    // An idle sliding toolbar closes by itself.
    if (event->timerId() == m_fontTimer.timerId()) {
        m_fontTimer.stop();
        toggleSlidingToolBar(m_fontToolBar);
    } else if (event->timerId() == m_recorderTimer.timerId()) {
        m_recorderTimer.stop();
        toggleSlidingToolBar(m_recorderToolBar);
    } else if (event->timerId() == m_moveOutputTimer.timerId()) {
        m_moveOutputTimer.stop();
        slotMoveOutputWidgets();
    } else {
        QWidget::timerEvent(event);
    }
}

} // namespace zubrel
