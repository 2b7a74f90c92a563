#pragma once
// Base of the client's dialogs: no "what's this" button in the title bar and
// a title that falls back to the application name when none is given.

#include <QDialog>

namespace zubrel {

class ZDialog2 : public QDialog
{
    Q_OBJECT
public:
    explicit ZDialog2(QWidget *parent = nullptr, Qt::WindowFlags flags = {});

    void setWindowTitle(const QString &title);
};

} // namespace zubrel
