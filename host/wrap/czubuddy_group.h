#pragma once
// A named group of the user's contact list.

#include <QList>
#include <QString>

#include "czubuddy.h"

class CZuBuddy_Group
{
public:
    CZuBuddy_Group() = default;
    CZuBuddy_Group(const QString &name, const QList<CZuBuddy> &buddies) : m_name(name), m_buddies(buddies) {}

    QString Name() const { return m_name; }
    QList<CZuBuddy> Buddies() const { return m_buddies; }

private:
    QString m_name;
    QList<CZuBuddy> m_buddies;
};
