#pragma once
// Filter field: a line edit that shows a grey hint while empty and offers a
// clear button once something is typed.

#include <QLineEdit>

namespace zubrel {

class ZSearchField : public QLineEdit
{
    Q_OBJECT
public:
    explicit ZSearchField(QWidget *parent = nullptr);

    void setDefaultText(const QString &text);
    QString defaultText() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace zubrel
