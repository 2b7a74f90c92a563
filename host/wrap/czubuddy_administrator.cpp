#include "czubuddy_administrator.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMetaMethod>

namespace {

// Ids arrive as JSON numbers or decimal text; anything else is no id.
uint readId(const QJsonValue &value, bool *ok)
{
    if (value.isDouble()) {
        const double d = value.toDouble();
        *ok = d >= 1 && d <= 4294967295.0 && d == double(qint64(d));
        return *ok ? uint(qint64(d)) : 0;
    }
    if (value.isString())
        return value.toString().toUInt(ok);
    *ok = false;
    return 0;
}

bool readBuddy(const QJsonValue &value, const QString &baseFolder, BuddyData *data, QString *error)
{
    if (!value.isObject()) {
        *error = QStringLiteral("a contact is not an object");
        return false;
    }
    const QJsonObject object = value.toObject();
    bool ok = false;
    data->id = readId(object.value(QLatin1String("id")), &ok);
    if (!ok) {
        *error = QStringLiteral("a contact has no valid id");
        return false;
    }
    data->nickname = object.value(QLatin1String("nick")).toString();
    data->firstName = object.value(QLatin1String("firstName")).toString();
    data->lastName = object.value(QLatin1String("lastName")).toString();
    data->userState = object.value(QLatin1String("status")).toInt(0);
    data->messenger = object.value(QLatin1String("messenger")).toInt(1);
    data->clientType = object.value(QLatin1String("client")).toInt(1);
    data->isContact = object.value(QLatin1String("contact")).toBool(true);
    data->profile = object.value(QLatin1String("profile")).toObject().toVariantMap();
    const QString picture = object.value(QLatin1String("picture")).toString();
    if (!picture.isEmpty())
        data->picturePath = QFileInfo(picture).isRelative() && !baseFolder.isEmpty()
                                ? QDir(baseFolder).filePath(picture)
                                : picture;
    return true;
}

} // namespace

CZuBuddy_Administrator *CZuBuddy_Administrator::Instance()
{
    static CZuBuddy_Administrator *directory = new CZuBuddy_Administrator; // process lifetime
    return directory;
}

void CZuBuddy_Administrator::init(QObject *receiver, const char *slot, bool, bool)
{
    if (!receiver || !slot)
        return;
    // SLOT() prefixes the signature with a code digit.
    QByteArray signature(slot);
    if (!signature.isEmpty() && signature.at(0) >= '0' && signature.at(0) <= '9')
        signature.remove(0, 1);
    if (!signature.contains('('))
        signature += "()";
    m_receivers.append({receiver, QMetaObject::normalizedSignature(signature)});
    if (m_ready)
        callReceiver(receiver, m_receivers.last().second);
}

void CZuBuddy_Administrator::callReceiver(QObject *receiver, const QByteArray &slot)
{
    const int index = receiver->metaObject()->indexOfMethod(slot);
    if (index < 0)
        return;
    receiver->metaObject()->method(index).invoke(receiver, Qt::DirectConnection);
}

void CZuBuddy_Administrator::setReady()
{
    m_ready = true;
    const auto receivers = m_receivers;
    for (const auto &[receiver, slot] : receivers) {
        if (receiver)
            callReceiver(receiver, slot);
    }
    emit ready();
}

void CZuBuddy_Administrator::fetchPictureOf(const CZuBuddy &buddy)
{
    m_pictureFetches.append(buddy.Id());
}

void CZuBuddy_Administrator::FetchFromUserDataServer(const CZuBuddy &buddy)
{
    m_userDataFetches.append(buddy.Id());
}

QList<CZuBuddy> CZuBuddy_Administrator::Buddies() const
{
    QList<CZuBuddy> buddies;
    for (uint id : m_order) {
        if (m_buddies.value(id).isContact)
            buddies.append(CZuBuddy(id));
    }
    return buddies;
}

QList<CZuBuddy_Group> CZuBuddy_Administrator::Groups() const
{
    QList<CZuBuddy_Group> groups;
    for (const auto &[name, ids] : m_groups) {
        QList<CZuBuddy> buddies;
        for (uint id : ids)
            buddies.append(CZuBuddy(id));
        groups.append(CZuBuddy_Group(name, buddies));
    }
    return groups;
}

void CZuBuddy_Administrator::clear()
{
    m_buddies.clear();
    m_pictures.clear();
    m_order.clear();
    m_groups.clear();
    m_currentUser = 0;
    m_ready = false;
    m_receivers.clear();
    m_pictureFetches.clear();
    m_userDataFetches.clear();
}

void CZuBuddy_Administrator::setCurrentUser(const BuddyData &data)
{
    BuddyData self = data;
    self.isContact = false;
    m_currentUser = self.id;
    m_pictures.remove(self.id);
    if (!m_buddies.contains(self.id))
        m_order.append(self.id);
    m_buddies.insert(self.id, self);
}

void CZuBuddy_Administrator::setBuddy(const BuddyData &data)
{
    if (data.id == 0)
        return;
    if (!m_buddies.contains(data.id))
        m_order.append(data.id);
    m_buddies.insert(data.id, data);
    m_pictures.remove(data.id);
}

void CZuBuddy_Administrator::updateBuddy(const BuddyData &data)
{
    if (data.id == 0)
        return;
    setBuddy(data);
    emit OnBuddyChanged(CZuBuddy(data.id));
}

void CZuBuddy_Administrator::setGroups(const QList<QPair<QString, QList<uint>>> &groups)
{
    m_groups = groups;
}

bool CZuBuddy_Administrator::loadJson(const QJsonObject &json, const QString &baseFolder, QString *error)
{
    QString message;
    BuddyData self;
    QList<BuddyData> contacts;
    QList<QPair<QString, QList<uint>>> groups;
    const auto fail = [&](const QString &text) {
        if (error)
            *error = text;
        return false;
    };

    if (json.contains(QLatin1String("self"))) {
        if (!readBuddy(json.value(QLatin1String("self")), baseFolder, &self, &message))
            return fail(QStringLiteral("self: ") + message);
    }
    const QJsonValue contactList = json.value(QLatin1String("contacts"));
    if (!contactList.isUndefined() && !contactList.isArray())
        return fail(QStringLiteral("contacts is not a list"));
    for (const QJsonValue &value : contactList.toArray()) {
        BuddyData data;
        if (!readBuddy(value, baseFolder, &data, &message))
            return fail(QStringLiteral("contacts: ") + message);
        contacts.append(data);
    }
    const QJsonValue groupList = json.value(QLatin1String("groups"));
    if (!groupList.isUndefined() && !groupList.isArray())
        return fail(QStringLiteral("groups is not a list"));
    for (const QJsonValue &value : groupList.toArray()) {
        const QJsonObject group = value.toObject();
        QList<uint> ids;
        for (const QJsonValue &idValue : group.value(QLatin1String("ids")).toArray()) {
            bool ok = false;
            const uint id = readId(idValue, &ok);
            if (!ok)
                return fail(QStringLiteral("groups: an id is not a user number"));
            ids.append(id);
        }
        groups.append({group.value(QLatin1String("name")).toString(), ids});
    }

    if (self.id != 0)
        setCurrentUser(self);
    for (const BuddyData &data : std::as_const(contacts))
        setBuddy(data);
    if (json.contains(QLatin1String("groups")))
        m_groups = groups;
    return true;
}

bool CZuBuddy_Administrator::changeJson(const QJsonObject &json, const QString &baseFolder, QString *error)
{
    const auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    bool ok = json.value(QLatin1String("self")).toBool(false);
    const uint id = ok ? m_currentUser : readId(json.value(QLatin1String("id")), &ok);
    const BuddyData *known = ok ? data(id) : nullptr;
    if (!known)
        return fail(QStringLiteral("no such contact"));
    BuddyData changed = *known;
    const QJsonValue nick = json.value(QLatin1String("nick"));
    if (nick.isString()) {
        changed.nickname = nick.toString();
        changed.nicknameValid = true;
    } else if (nick.isNull()) {
        changed.nicknameValid = false;
    } else if (!nick.isUndefined()) {
        return fail(QStringLiteral("\"nick\" must be a text or null"));
    }
    const QJsonValue status = json.value(QLatin1String("status"));
    if (status.isDouble() && status.toDouble() == double(status.toInt())) {
        changed.userState = status.toInt();
        changed.userStateValid = true;
    } else if (status.isNull()) {
        changed.userStateValid = false;
    } else if (!status.isUndefined()) {
        return fail(QStringLiteral("\"status\" must be a whole number or null"));
    }
    const QJsonValue picture = json.value(QLatin1String("picture"));
    if (picture.isString() || picture.isNull()) {
        const QString path = picture.toString();
        changed.picturePath = path.isEmpty() || !QFileInfo(path).isRelative() || baseFolder.isEmpty()
                                  ? path
                                  : QDir(baseFolder).filePath(path);
    } else if (!picture.isUndefined()) {
        return fail(QStringLiteral("\"picture\" must be a path or null"));
    }
    const QJsonValue mobile = json.value(QLatin1String("mobile"));
    if (mobile.isBool())
        changed.clientType = mobile.toBool() ? 0x21 : 1;
    else if (!mobile.isUndefined())
        return fail(QStringLiteral("\"mobile\" must be true or false"));
    const QJsonValue client = json.value(QLatin1String("client"));
    if (client.isDouble())
        changed.clientType = client.toInt();
    else if (!client.isUndefined())
        return fail(QStringLiteral("\"client\" must be a number"));
    updateBuddy(changed);
    return true;
}

bool CZuBuddy_Administrator::loadJsonFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("cannot read ") + path;
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!document.isObject()) {
        if (error)
            *error = path + QStringLiteral(": ") + parseError.errorString();
        return false;
    }
    return loadJson(document.object(), QFileInfo(path).absolutePath(), error);
}

QPixmap CZuBuddy_Administrator::picture(uint id) const
{
    const auto cached = m_pictures.constFind(id);
    if (cached != m_pictures.cend())
        return cached.value();
    const BuddyData *d = data(id);
    const QPixmap picture = d && !d->picturePath.isEmpty() ? QPixmap(d->picturePath) : QPixmap();
    m_pictures.insert(id, picture);
    return picture;
}

const BuddyData *CZuBuddy_Administrator::data(uint id) const
{
    const auto it = m_buddies.constFind(id);
    return it == m_buddies.cend() ? nullptr : &it.value();
}
