#pragma once
// The contact directory: who the user is, whom they know, their presence.
// Filled from data (JSON or calls), reports when it is ready, and announces
// every change of a contact with OnBuddyChanged.

#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QPointer>

#include "czubuddy.h"
#include "czubuddy_group.h"

struct BuddyData
{
    uint id = 0;
    QString nickname;
    bool nicknameValid = true;
    QString firstName;
    QString lastName;
    QString picturePath; // empty: no picture
    int userState = 0;
    bool userStateValid = true;
    int messenger = 1;
    int clientType = 1;
    bool isContact = true;
    QVariantMap profile;
};

class CZuBuddy_Administrator : public QObject
{
    Q_OBJECT
public:
    static CZuBuddy_Administrator *Instance();

    // receiver's slot (as SLOT(name()) or "name()") is called on every report
    // that the directory is ready; at once if it already is.
    void init(QObject *receiver, const char *slot, bool, bool);
    void fetchPictureOf(const CZuBuddy &buddy);
    void FetchFromUserDataServer(const CZuBuddy &buddy);
    QList<CZuBuddy> Buddies() const;
    QList<CZuBuddy_Group> Groups() const;

    // Filling and changing the directory.
    void clear();
    void setCurrentUser(const BuddyData &data);
    void setBuddy(const BuddyData &data);                  // silent, for loading
    void updateBuddy(const BuddyData &data);               // emits OnBuddyChanged
    void setGroups(const QList<QPair<QString, QList<uint>>> &groups);
    // {"self": {id, nick, status}, "contacts": [{id, nick, status, messenger,
    //  client, picture, contact}], "groups": [{name, ids}]}; relative picture
    // paths resolve against baseFolder. Returns false and an error text for
    // anything malformed, leaving the directory unchanged.
    bool loadJson(const QJsonObject &json, const QString &baseFolder = {}, QString *error = nullptr);
    bool loadJsonFile(const QString &path, QString *error = nullptr);
    // One contact's change, announced with OnBuddyChanged: {"id" or
    // "self": true, and any of "nick" (null: not valid), "status" (null:
    // not valid), "picture" (path; empty or null: none), "mobile" (bool),
    // "client"}. False and an error text for an unknown contact or a
    // malformed field, leaving the directory unchanged.
    bool changeJson(const QJsonObject &json, const QString &baseFolder = {}, QString *error = nullptr);
    void setReady();
    bool isReady() const { return m_ready; }

    const BuddyData *data(uint id) const;
    // The contact's picture as read from its file, null when there is none
    // or it does not load. Read once and kept until the contact changes.
    QPixmap picture(uint id) const;
    uint currentUserId() const { return m_currentUser; }
    QList<uint> pictureFetches() const { return m_pictureFetches; }
    QList<uint> userDataFetches() const { return m_userDataFetches; }

signals:
    void OnBuddyChanged(CZuBuddy buddy);
    void ready();

private:
    CZuBuddy_Administrator() = default;
    void callReceiver(QObject *receiver, const QByteArray &slot);

    QHash<uint, BuddyData> m_buddies;
    mutable QHash<uint, QPixmap> m_pictures;
    QList<uint> m_order;
    QList<QPair<QString, QList<uint>>> m_groups;
    uint m_currentUser = 0;
    bool m_ready = false;
    QList<QPair<QPointer<QObject>, QByteArray>> m_receivers;
    QList<uint> m_pictureFetches;
    QList<uint> m_userDataFetches;
};
