#include "xmpppasswordfile.h"

#include <QFile>

namespace zubrel {

bool XmppPasswordFile::read(const QString &path, QString *password, QString *error)
{
    QFile file(path);
    if (!file.exists()) {
        *error = QStringLiteral("no password file %1").arg(path);
        return false;
    }
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
                                            | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    if (file.permissions() & others) {
        *error = QStringLiteral("the password file %1 must be readable by its owner only (chmod 600)").arg(path);
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read the password file %1").arg(path);
        return false;
    }
    QByteArray bytes = file.readLine(4096);
    while (bytes.endsWith('\n') || bytes.endsWith('\r'))
        bytes.chop(1);
    if (bytes.isEmpty()) {
        *error = QStringLiteral("the password file %1 is empty").arg(path);
        return false;
    }
    *password = QString::fromUtf8(bytes);
    return true;
}

} // namespace zubrel
