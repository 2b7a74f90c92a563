#pragma once
// The password of an XMPP account from a file, for the demo host and the
// matchmaker: never from the command line, where every user of the machine
// could read it. The file must be readable by its owner only; a password
// that others could read (or change) is refused rather than used.

#include <QString>

namespace zubrel {

class XmppPasswordFile
{
public:
    // The first line of the file (a trailing line break is dropped). False
    // and a reason that never contains the password otherwise.
    static bool read(const QString &path, QString *password, QString *error);
};

} // namespace zubrel
