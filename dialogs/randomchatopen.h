#pragma once
// The question before a random chat: what a random chat is, and one button,
// Search. ask() (exec() through the host's modal script) returns 1 when the
// user pressed Search and 0 when the dialog was closed; nothing else is read
// from it. The criteria rows exist for the server's search options but stay
// hidden: the server matches without them.

#include "zdialog2.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace zubrel {

class RandomChatOpen : public ZDialog2
{
    Q_OBJECT
public:
    explicit RandomChatOpen(QWidget *parent = nullptr);

    int ask();

    // The form's widgets, by the object names the form gives them.
    QLabel *imgRandomChat = nullptr;
    QLabel *txtTitle = nullptr;
    QLabel *label = nullptr;
    QComboBox *inputGender = nullptr;
    QLabel *label_2 = nullptr;
    QComboBox *inputLanguage = nullptr;
    QLabel *txtTitle_2 = nullptr;
    QPushButton *btnSearch = nullptr;

private:
    void setupUi();
};

} // namespace zubrel
