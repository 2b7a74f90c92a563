#pragma once
// The emoticon picker's popup window: the section list and the two menu
// lines "Add an Emoticon... (F9)" and "Setup Smileys".
#include <QFrame>
#include <QPointer>

namespace zubrel {

class ZMenuItem;
class ZSmileyArea;

class ZSmileyAreaReal : public QFrame
{
    Q_OBJECT
    Q_PROPERTY(bool moreSmileys READ moreSmileys WRITE setMoreSmileys)
    Q_PROPERTY(bool setupSmileys READ setupSmileys WRITE setSetupSmileys)

public:
    static constexpr int areaHeight = 250;
    static constexpr int deferMs = 20;

    explicit ZSmileyAreaReal(QWidget *parent = nullptr);

    bool moreSmileys() const;
    void setMoreSmileys(bool visible);
    bool setupSmileys() const;
    void setSetupSmileys(bool visible);

    ZSmileyArea *area() const { return m_area; }
    ZMenuItem *moreItem() const { return m_more; }
    ZMenuItem *setupItem() const { return m_setup; }

signals:
    void clicked(const QString &shortcut, const QString &theme = QStringLiteral("default"));
    void hid();

public slots:
    void slotSmileyClicked(const QString &shortcut, const QString &theme);
    void slotMoreTimer();
    void slotMore();
    void slotSetupTimer();
    void slotSetup();

protected:
    void hideEvent(QHideEvent *event) override;

private:
    ZSmileyArea *m_area = nullptr;
    ZMenuItem *m_more = nullptr;
    ZMenuItem *m_setup = nullptr;
    bool m_moreVisible = true;
    bool m_setupVisible = true;
};

} // namespace zubrel
