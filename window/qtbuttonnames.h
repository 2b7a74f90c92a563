#pragma once
// Qt makes a few buttons of its own inside toolbars, menu bars and line
// edits (the overflow arrows, the clear button) and gives them no name a
// screen reader could say. nameQtButtons() names those below a widget.

class QWidget;

namespace zubrel {

void nameQtButtons(QWidget *root);

} // namespace zubrel
