// Opens a chat-like input with the emoticon picker popped up, for looking
// at the artwork and layout (and for screenshots). Quits by itself.
//   picker_preview [seconds]
#include "texttohtml.h"
#include "zdir.h"
#include "zsmileyareareal.h"
#include "zsmileypicker.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

using namespace zubrel;

int main(int argc, char **argv)
{
    QTemporaryDir profile;
    qputenv("ZUBREL_PROFILE", profile.path().toUtf8());
    if (qEnvironmentVariableIsEmpty("ZUBREL_APP_DIR"))
        qputenv("ZUBREL_APP_DIR", ZUBREL_BENCH_APP_DIR);
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 8;

    QWidget window;
    window.setWindowTitle(QStringLiteral("Emoticons"));
    auto *layout = new QVBoxLayout(&window);
    auto *input = new QTextEdit(&window);
    auto *row = new QHBoxLayout;
    auto *picker = new ZSmileyPicker(&window);
    picker->setIcon(QIcon(QStringLiteral(":/smileys/default/smile.png")));
    picker->setIconSize(QSize(24, 24));
    row->addWidget(picker);
    row->addStretch();
    layout->addWidget(input);
    layout->addLayout(row);
    auto *convert = new TextToHtml(input);
    convert->setPicker(picker);
    QObject::connect(picker, &ZSmileyPicker::smiley, convert, &TextToHtml::slotInsertSmiley);
    input->insertPlainText(QStringLiteral("Typed shortcuts turn into pictures :) "));
    convert->replaceEmoticonShortcuts(true);
    input->insertPlainText(QStringLiteral("and some move ;-) "));
    convert->replaceEmoticonShortcuts(true);
    input->insertPlainText(QStringLiteral("<3 "));
    convert->replaceEmoticonShortcuts(true);
    window.resize(420, 200);
    window.move(40, 40);
    window.show();

    QTimer::singleShot(300, picker, [picker] {
        picker->setChecked(true);
        picker->slotSmileys();
    });
    QTimer::singleShot(seconds * 1000, &app, &QApplication::quit);
    return app.exec();
}
