#include "zwindow.h"

#include "zstatusbar.h"

namespace zubrel {

ZWindow::ZWindow(QWidget *parent, Qt::WindowFlags flags)
    : QMainWindow(parent, flags)
{
}

ZStatusBar *ZWindow::statusBar()
{
    // Someone may have installed a plain QStatusBar through QMainWindow;
    // replace it rather than hand out a wrongly typed pointer.
    auto *bar = qobject_cast<ZStatusBar *>(QMainWindow::statusBar());
    if (!bar) {
        bar = new ZStatusBar(this);
        setStatusBar(bar);
    }
    return bar;
}

} // namespace zubrel
