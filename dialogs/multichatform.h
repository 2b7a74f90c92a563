#pragma once
// The look both multi chat dialogs share: the logo on the left, texts on the
// right, a row of three fixed-size buttons below.

#include <QIcon>
#include <QString>

class QBoxLayout;
class QDialog;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QVBoxLayout;

namespace zubrel::Internal {

struct MultichatForm {
    QVBoxLayout *vboxLayout = nullptr;
    QHBoxLayout *hboxLayout = nullptr;
    QVBoxLayout *vboxLayout1 = nullptr;
    QHBoxLayout *hboxLayout1 = nullptr;
    QLabel *imgMultichat = nullptr;
};

MultichatForm buildMultichatForm(QDialog *dialog);
// A button of the lower row (110 x 26).
QPushButton *addFormButton(MultichatForm &form, QDialog *dialog, const char *name, const QString &text,
                           const QString &icon);

} // namespace zubrel::Internal
