#pragma once
// Installed themes as read from disk, shared by every chat tab. A tab builds
// its picker popups only when they are first opened, yet typing needs the
// "default" shortcuts at once and the views need every theme's pictures
// registered: both come from here, read once and again only when a theme's
// file changed.
#include <QString>

#include "zsmileytheme.h"

namespace zubrel {

class ZSmileyThemeCache
{
public:
    // The theme as ZSmileyTheme::load() gives it, read again when its file
    // was replaced since the last call.
    static ZSmileyTheme theme(const QString &name, ZSmileyTheme::Kind kind = ZSmileyTheme::Kind::Smileys);
    // Reads every installed theme of both kinds, which registers their
    // pictures and clips, as building both popups would.
    static void loadInstalled();
};

} // namespace zubrel
