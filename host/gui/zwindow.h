#pragma once
// Base of the client's top-level windows: a main window whose status bar is
// always a ZStatusBar, created on first use like QMainWindow's own.

#include <QMainWindow>

namespace zubrel {

class ZStatusBar;

class ZWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit ZWindow(QWidget *parent = nullptr, Qt::WindowFlags flags = {});

    // Hides QMainWindow::statusBar on purpose: callers get the client's bar.
    ZStatusBar *statusBar();
    using QMainWindow::menuBar;
};

} // namespace zubrel
