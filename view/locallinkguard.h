#pragma once
// A link in a message is written by the contact: its text can say anything
// while its target is a file on this computer (a program, a script, a
// document with macros). Such a link opens only after the user has seen the
// full target and agreed; a relative path, which would depend on the host's
// working folder, never opens.

#include <QString>

class QUrl;
class QWidget;

namespace zubrel {

class LocalLinkGuard
{
public:
    // The local path a link names (file: URL, a path without a scheme, a
    // drive letter), or an empty string for a link to somewhere else.
    static QString localTarget(const QUrl &url);
    // True when the link names something on this computer at all.
    static bool isLocal(const QUrl &url);
    // True when the link may be handed to the desktop: links to elsewhere
    // always, local files only after the user agreed to the full target.
    static bool mayOpen(QWidget *parent, const QUrl &url);
};

} // namespace zubrel
