#pragma once
// The client's record of one user, looked up by number in the contact
// directory. Cheap to copy: it holds only the number.

#include <QMetaType>
#include <QPixmap>
#include <QString>
#include <QVariant>

class CZuBuddy
{
public:
    CZuBuddy() = default;
    explicit CZuBuddy(uint id) : m_id(id) {}

    uint Id() const { return m_id; }
    QString zubrelId() const { return QString::number(m_id); }
    bool isNull() const { return m_id == 0; }
    bool IsKnown() const; // the directory has data for this number

    QString Nickname() const;
    bool IsNicknameValid() const;
    QString FirstName() const;
    QString LastName() const;
    QPixmap Picture(bool big) const;
    bool IsPictureValid() const;
    int UserState() const;
    bool IsUserStateValid() const;
    int Messenger() const;
    int ClientType() const;
    bool IsContact() const;
    bool IsCurrentUser() const;
    QVariant ProfileValue(const QString &key) const;

    static CZuBuddy CurrentUser();

    bool operator==(const CZuBuddy &other) const { return m_id == other.m_id; }

private:
    uint m_id = 0;
};

Q_DECLARE_METATYPE(CZuBuddy)
