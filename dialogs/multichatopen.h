#pragma once
// Asks for the topic of a multi chat the user starts. topic() is the static
// question the controller asks: the input's HTML when the invitation is to be
// sent, an empty text when the user closed the dialog.

#include "zdialog2.h"

class QHBoxLayout;
class QLabel;
class QPushButton;
class QTextEdit;
class QVBoxLayout;

namespace zubrel {

class MultichatOpen : public ZDialog2
{
    Q_OBJECT
public:
    explicit MultichatOpen(QWidget *parent = nullptr);

    static QString topic(QWidget *parent);

    QVBoxLayout *vboxLayout = nullptr;
    QHBoxLayout *hboxLayout = nullptr;
    QVBoxLayout *vboxLayout1 = nullptr;
    QHBoxLayout *hboxLayout1 = nullptr;
    QLabel *imgMultichat = nullptr;
    QLabel *txtTitle = nullptr;
    QTextEdit *inputName = nullptr;
    QPushButton *btnInvite = nullptr;
    QPushButton *btnAdd = nullptr;
    QPushButton *btnClose = nullptr;
};

} // namespace zubrel
