#pragma once
// One conversation: the message view, the input with its send button, the
// cards of the other participants and of the user, the edit toolbar and the
// two toolbars that slide in above the input (font settings, push-message
// recorder). The tab never talks to the network: it hands finished HTML to
// the controller through sendHtml() and is told what to show through the
// append*() operations.

#include "zr.h"

#include <QBasicTimer>
#include <QDateTime>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QTextCharFormat>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <functional>

class QAction;
class QComboBox;
class QFontComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QSplitter;
class QToolBar;
class QToolButton;
class QtColorPicker;

namespace zubrel {

class ZContactCard;
class ZChatPushToolBar;
class ZContactCardList;
class ZImageButton;
class ZMessageView;
class ZTextEdit;
namespace Internal {
class PushLinkRouter;
}

class ZChatTab : public QWidget
{
    Q_OBJECT
    // Read-only state for tools that inspect a tab through its meta-object
    // (the demo host's replay tracer) without linking against the module.
    Q_PROPERTY(bool noLog READ isNoLog)
    Q_PROPERTY(bool encrypted READ isEncrypted)
    Q_PROPERTY(bool otherNetwork READ isOtherNetwork)
    Q_PROPERTY(bool plain READ isPlain)
    Q_PROPERTY(bool multichat READ isMultiChat)
    Q_PROPERTY(bool multiChatOwner READ isMultiChatOwner)
    Q_PROPERTY(bool randomChat READ isRandomChat)
    Q_PROPERTY(uint multichatId READ multichatIdValue)
    Q_PROPERTY(uint randomChatId READ randomChatIdValue)
    Q_PROPERTY(QString inputText READ inputText)
    Q_PROPERTY(QString viewText READ viewText)

public:
    static constexpr quint32 noId = 0xFFFFFFFF;

    // Pluggable steps owned by the emoticon and text conversion code. Each
    // may stay empty; the tab then does the plain thing noted per hook.
    struct Hooks {
        // Input content -> outgoing message HTML. Empty hook: the input's
        // HTML between its first paragraph start tag and its last "</p>".
        std::function<QString(ZChatTab *tab)> convertForSend;
        // Called when the user has just typed white space (not in
        // other-network mode): replace typed emoticon shortcuts.
        std::function<void(ZChatTab *tab)> replaceWhileTyping;
        // Insert one emoticon picture at the input's cursor. Empty hook: the
        // picture is inserted as a plain inline image.
        std::function<void(ZChatTab *tab, const QString &picture)> insertSmiley;
        // A view entry was appended: lay animated emoticons over it.
        std::function<void(ZChatTab *tab, const QString &entryHtml)> placeViewEmoticons;
        // With sound on: play the sounds of the emoticons in a message.
        std::function<void(ZChatTab *tab, const QString &html)> playEmoticonSounds;
        // Re-place the movie widgets over the input / the view.
        std::function<void(ZChatTab *tab)> moveInputWidgets;
        std::function<void(ZChatTab *tab)> moveViewWidgets;
        // Characters [pos, pos + removed) left the input: drop the movie
        // widgets recorded inside that range.
        std::function<void(ZChatTab *tab, int pos, int removed)> inputRangeRemoved;
        // The view was emptied (clearView): drop the view's movie widgets.
        std::function<void(ZChatTab *tab)> viewCleared;
    };
    // Process-wide, set once by the code that provides the steps.
    static Hooks &hooks();

    explicit ZChatTab(QWidget *parent = nullptr);
    ~ZChatTab() override;

    // Parts the controller reads and fills directly; owned by the widget tree.
    ZMessageView *view = nullptr;
    ZTextEdit *input = nullptr;
    ZContactCardList *cardList = nullptr;
    ZContactCard *ownCard = nullptr;

    // Chat kind and session state; the controller writes the two ids.
    bool noLog = false;
    bool multichat = false;
    bool multiChatOwner = false;
    bool randomChat = false;
    bool encrypted = false;
    bool otherNetwork = false;
    quint32 multichatId = noId;
    quint32 randomChatId = noId;

    void setMultiChat(bool on);
    void setMultiChatOwner(bool on);
    void setRandomChat(bool on);
    void setOtherNetwork(bool on);
    void setPrivateSession(bool on);
    void setEncrypted(bool on);
    void setPlain(bool disabled);
    void clearView();

    // Rendering (all append at the end of the view).
    void appendSystemMessage(const QString &text);
    void appendNotifyMessage(const QString &text);
    void appendErrorMessage(const QString &text);
    void appendBlockedMessage(const QString &text);
    void appendIncomingMessage(const QString &html, const QDateTime &sendTime,
                               bool offline = false, bool mobile = false);
    void appendMultiChatMessage(const QString &html, const QString &alias, const QString &id,
                                bool mobile = false);
    QString appendReceivedPushMessage(const QString &fileName, const QString &alias = QString(),
                                      const QString &id = QString());
    QString appendOwnPushMessage(const QString &fileName);
    void appendLogMessage(const QString &html, const QString &alias, const QString &id,
                          const QDateTime &time);

    // A small dropped picture goes into the input as an inline image.
    void insertImage(const QString &fileName);
    // F9 in the window: the emoticon picker's add-an-emoticon procedure.
    void addSmiley();

    // State for the window and for inspection.
    bool isNoLog() const { return noLog; }
    bool isEncrypted() const { return encrypted; }
    bool isOtherNetwork() const { return otherNetwork; }
    bool isPlain() const { return m_plain; }
    bool isMultiChat() const { return multichat; }
    bool isMultiChatOwner() const { return multiChatOwner; }
    bool isRandomChat() const { return randomChat; }
    uint multichatIdValue() const { return multichatId; }
    uint randomChatIdValue() const { return randomChatId; }
    bool isSoundOn() const { return m_sound; }
    QString inputText() const;
    QString viewText() const;

    // Controls that later work (pickers, recorder, spelling) attaches to.
    QPushButton *sendButton() const { return m_sendButton; }
    QToolBar *editToolBar() const { return m_editToolBar; }
    // Built when first shown: most tabs never open it.
    QToolBar *fontToolBar();
    QToolBar *recorderToolBar() const { return m_recorderToolBar; }
    ZChatPushToolBar *pushToolBar() const { return m_recorder; }
    QToolButton *smileyButton() const { return m_smileyButton; }
    QToolButton *pushMessageButton() const { return m_pushButton; }
    QToolButton *pushMessagePickerButton() const { return m_pushPickerButton; }
    QToolButton *spellingButton() const { return m_spellButton; }
    QMenu *spellingMenu() const { return m_spellMenu; }
    QtColorPicker *colorPicker() const { return m_colorPicker; }
    QAction *fontAction() const { return m_fontAction; }
    QAction *soundAction() const { return m_soundAction; }
    QLabel *lockLabel() const { return m_lockLabel; }
    QWidget *userListArrow() const;
    QWidget *ownUserArrow() const;
    // Sliding toolbar state.
    bool isFontToolBarShown() const;
    bool isRecorderShown() const;
    // Allowed while an emoticon is being inserted: no typewriter clicks.
    void setTypingSoundAllowed(bool allowed) { m_typingSoundAllowed = allowed; }
    // Sets the input's typing format from the font toolbar again, e.g. after
    // a picture was inserted with a format of its own.
    void applyToolbarFormat();
    bool isTypingSoundAllowed() const { return m_typingSoundAllowed; }

signals:
    void activated();
    void addContact();
    void aliasChanged(const QString &newAlias);
    void isTyping(bool typing);
    void logHistory(bool historyLog);
    void selectAll(bool available);
    void selectAllBrowser(bool available);
    void sendHtml(const QString &html);
    void sendPushMessage(const QString &fileName);
    void statusChanged(Zr::ContactStatus newStatus);
    void typing();
    // Wiring point for the emoticon picker: the tab asks, it acts.
    void smileyAddRequested();
    // Random chats and other networks turn the picker's favourites off.
    void favoritesEnabledChanged(bool enabled);

public slots:
    void slotHideOtherAvatarTimer();
    void slotHideOtherAvatar2Timer();
    void slotHideOwnAvatarTimer();
    void slotHideOwnAvatar2Timer();
    // Also public so the picker and the recorder can reach them.
    void slotInsertSmiley(const QString &shortcut);
    void slotCloseToolbars();
    void slotPushMessagePressed();
    void slotPushMessageReleased();
    // A clip chosen in the push-message picker: sent when it can be read.
    void sendChosenPushMessage(const QString &fileName);
    // Reached through the window's card notifications or the controller.
    void slotCardAliasChanged(const QString &alias);
    void slotCardIsTyping(bool typing);
    void slotCardStatusChanged(Zr::ContactStatus status);
    // Re-reads the dictionaries and rebuilds the spelling menu (after the
    // installer reported a change).
    void rebuildSpellingMenu();

private slots:
    void slotPushMessagePlay(const QUrl &url);
    void slotPushMessageSave(const QUrl &url);
    void slotHistoryChangedTimer();
    void slotHistoryChanged();
    void slotContactAdded(zubrel::ZContactCard *card);
    void slotEnableSendTimer();
    void slotEnableSend();
    void slotSendTimer();
    void slotSend();
    void slotMoveOutputWidgetsTimer();
    void slotMoveOutputWidgets();
    void slotMoveWidgetsTimer();
    void slotMoveWidgets();
    void slotSplitterMoved(int pos, int index);
    void slotFontTimer();
    void slotFont();
    void slotPushMessageTimer();
    void slotPushMessage();
    void slotHideOtherAvatar();
    void slotHideOtherAvatar2();
    void slotHideOwnAvatar();
    void slotHideOwnAvatar2();
    void slotTextBold();
    void slotTextItalic();
    void slotTextUnderline();
    void slotTextFamily(const QString &family);
    void slotTextSize(const QString &size);
    void slotFontReset();
    void slotTextColor(const QColor &color);
    void slotSoundTimer();
    void slotSound();
    void slotCurrentCharFormatChanged(const QTextCharFormat &format);
    void slotFadeDone(bool fadeOut);
    void slotCryptoAnimation(bool encrypted);
    void slotAnimate();
    void slotEnableSpellTimer();
    void slotEnableSpell();
    void slotRegardCaseTimer();
    void slotRegardCase();
    void slotIsTypingStop();
    void slotScrollDown();
    void slotContentChange(int pos, int removed, int added);
    void slotLoadDictionary();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void timerEvent(QTimerEvent *event) override;

private:
    friend class ZChat;
    friend class ZChatTabTest;
    friend class Internal::PushLinkRouter;

    // Construction, split by area.
    void buildViewRow(QWidget *upper);
    void buildEditToolBar();
    void buildInputRow(QWidget *lower);
    void buildFontToolBar();
    void buildRecorderToolBar();
    void buildSpellingMenu();

    // Rendering helpers.
    void appendNotice(int kind, const QString &text);
    void renderOwn(const QString &html, bool groupWithoutTimeLimit);
    void renderMultiChat(const QString &html, const QString &alias, const QString &id, bool mobile);
    // Overlays, activation, sounds and the alias beep after an incoming entry.
    void afterIncoming(const QString &html, const QString &entry, const QString &beepAlias);
    void playSound(const QString &baseName);
    bool isInActiveWindow() const;
    bool holdsPushClip(const QString &path) const { return m_pushClips.contains(path); }
    static QString clipPath(const QUrl &url);

    // Sliding toolbars.
    void showSlidingToolBar(QToolBar *bar);
    void hideSlidingToolBar(QToolBar *bar);
    void toggleSlidingToolBar(QToolBar *bar);
    void placeSlidingToolBar(QToolBar *bar);
    void setArrow(ZImageButton *button, const QString &direction);
    void setStatusIcon(int status, bool exwayName);
    void updatePushAndSmileyEntries();
    void setToolBarEntryVisible(QAction *entry, bool visible);

    QSplitter *m_splitter = nullptr;
    QWidget *m_lower = nullptr;
    QPushButton *m_sendButton = nullptr;
    QToolBar *m_editToolBar = nullptr;
    QToolBar *m_fontToolBar = nullptr;
    QToolBar *m_recorderToolBar = nullptr;
    ZChatPushToolBar *m_recorder = nullptr; // the same bar as m_recorderToolBar
    QAction *m_fontAction = nullptr;
    QAction *m_soundAction = nullptr;
    QAction *m_boldAction = nullptr;
    QAction *m_italicAction = nullptr;
    QAction *m_underlineAction = nullptr;
    QAction *m_resetAction = nullptr;
    QAction *m_colorAction = nullptr;
    QAction *m_smileyAction = nullptr;
    QAction *m_pushAction = nullptr;
    QAction *m_pushPickerAction = nullptr;
    QAction *m_spellAction = nullptr;
    QFontComboBox *m_familyBox = nullptr;
    QComboBox *m_sizeBox = nullptr;
    QtColorPicker *m_colorPicker = nullptr;
    QToolButton *m_smileyButton = nullptr;
    QToolButton *m_pushButton = nullptr;
    QToolButton *m_pushPickerButton = nullptr;
    QToolButton *m_spellButton = nullptr;
    QMenu *m_spellMenu = nullptr;
    QLabel *m_lockLabel = nullptr;
    ZImageButton *m_userListArrow = nullptr;
    ZImageButton *m_ownArrow = nullptr;
    QTimer m_typingTimer;
    QBasicTimer m_fontTimer;     // closes an idle font toolbar
    QBasicTimer m_recorderTimer; // closes an idle recorder
    QBasicTimer m_moveOutputTimer; // places the view's overlays once it moved

    bool m_plain = false;
    bool m_sound = true;
    bool m_typingSoundAllowed = true;
    bool m_fontClosing = false;
    bool m_recorderClosing = false;
    bool m_userListLeft = false; // arrow direction of the user-list button
    bool m_ownLeft = false;
    int m_lockFrame = 1;
    bool m_lockClosing = false;
    int m_typingInterval = 3000;
    // Clips this tab rendered itself: only their play/save links are
    // honoured, never a "pushplay:" link smuggled into message HTML.
    QSet<QString> m_pushClips;
};

} // namespace zubrel
