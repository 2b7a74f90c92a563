#pragma once
// Asks whether to join a multi chat someone invited the user to. The bold
// title line carries "%1", which the caller replaces by the inviter's
// (escaped) nickname. exec() answers 1 for Join, 0 for Decline or closing.

#include "zdialog2.h"

class QHBoxLayout;
class QLabel;
class QPushButton;
class QVBoxLayout;

namespace zubrel {

class MultichatJoin : public ZDialog2
{
    Q_OBJECT
public:
    explicit MultichatJoin(QWidget *parent = nullptr);

    // Runs the dialog modally, or takes a scripted answer.
    int ask();

    QVBoxLayout *vboxLayout = nullptr;
    QHBoxLayout *hboxLayout = nullptr;
    QVBoxLayout *vboxLayout1 = nullptr;
    QHBoxLayout *hboxLayout1 = nullptr;
    QLabel *imgMultichat = nullptr;
    QLabel *txtTitle = nullptr;
    QLabel *txtJoin = nullptr;
    QPushButton *btnJoin = nullptr;
    QPushButton *btnList = nullptr;
    QPushButton *btnReject = nullptr;
};

} // namespace zubrel
