#include "czubuddy.h"

#include "czubuddy_administrator.h"

namespace {
const BuddyData *lookup(uint id)
{
    return CZuBuddy_Administrator::Instance()->data(id);
}
} // namespace

bool CZuBuddy::IsKnown() const { return lookup(m_id) != nullptr; }

QString CZuBuddy::Nickname() const
{
    const BuddyData *d = lookup(m_id);
    return d ? d->nickname : QString();
}

bool CZuBuddy::IsNicknameValid() const
{
    const BuddyData *d = lookup(m_id);
    return d && d->nicknameValid && !d->nickname.isEmpty();
}

QString CZuBuddy::FirstName() const
{
    const BuddyData *d = lookup(m_id);
    return d ? d->firstName : QString();
}

QString CZuBuddy::LastName() const
{
    const BuddyData *d = lookup(m_id);
    return d ? d->lastName : QString();
}

QPixmap CZuBuddy::Picture(bool big) const
{
    const QPixmap picture = CZuBuddy_Administrator::Instance()->picture(m_id);
    if (picture.isNull())
        return {};
    const int side = big ? 96 : 48;
    return picture.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

bool CZuBuddy::IsPictureValid() const
{
    return !CZuBuddy_Administrator::Instance()->picture(m_id).isNull();
}

int CZuBuddy::UserState() const
{
    const BuddyData *d = lookup(m_id);
    return d ? d->userState : 0;
}

bool CZuBuddy::IsUserStateValid() const
{
    const BuddyData *d = lookup(m_id);
    return d && d->userStateValid;
}

int CZuBuddy::Messenger() const
{
    const BuddyData *d = lookup(m_id);
    return d ? d->messenger : 1;
}

int CZuBuddy::ClientType() const
{
    const BuddyData *d = lookup(m_id);
    return d ? d->clientType : 1;
}

bool CZuBuddy::IsContact() const
{
    const BuddyData *d = lookup(m_id);
    return d && d->isContact;
}

bool CZuBuddy::IsCurrentUser() const
{
    return m_id != 0 && m_id == CZuBuddy_Administrator::Instance()->currentUserId();
}

QVariant CZuBuddy::ProfileValue(const QString &key) const
{
    const BuddyData *d = lookup(m_id);
    return d ? d->profile.value(key) : QVariant();
}

CZuBuddy CZuBuddy::CurrentUser()
{
    return CZuBuddy(CZuBuddy_Administrator::Instance()->currentUserId());
}
