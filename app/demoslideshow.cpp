#include "demoslideshow.h"

#include <QLabel>
#include <QVBoxLayout>

#include "czubuddy_administrator.h"
#include "demonetwork.h"
#include "simulatednetwork.h"

namespace zubrel {

namespace {
constexpr DataField peopleField = 652;
constexpr DataField personField = 653;
constexpr DataField pathField = 128;
constexpr DataField screenshotField = 657;
// Who is in a multi chat now, for the slideshow running beside it.
constexpr ushort memberUpdate = 0xF164;
} // namespace

DemoSlideshow::DemoSlideshow(DemoNetwork *network, QObject *parent)
    : QObject(parent), m_network(network)
{
    if (network) {
        QPointer<DemoSlideshow> self(this);
        network->addHandler([self](const SentRequest &request) { return self && self->handle(request); });
    }
}

DemoSlideshow::~DemoSlideshow()
{
    delete m_window.data();
}

bool DemoSlideshow::handle(const SentRequest &request)
{
    if (request.module != module || request.command.a() != module)
        return false;
    if (request.command.b() == memberUpdate) {
        updateMembers(request);
        return true;
    }
    QStringList participants;
    QStringList files;
    int screenshot = -1;
    for (const ProtocolArg &arg : request.args) {
        if (arg.field() == personField)
            participants.append(arg.variant().toString());
        else if (arg.field() == pathField)
            files.append(arg.variant().toString());
        else if (arg.field() == screenshotField)
            screenshot = arg.variant().toInt();
    }
    QString title = tr("Slideshow");
    if (screenshot >= 0) {
        static const char *const forms[] = {QT_TR_NOOP("Screenshot"), QT_TR_NOOP("Screenshot with countdown"),
                                            QT_TR_NOOP("Screenshot of a chosen screen")};
        title = tr(forms[qBound(0, screenshot, 2)]);
    }
    openWindow(title, participants, files);
    // The answer names the participants again, then the window and whether
    // to leave it where it is.
    QList<ProtocolArg> answer{ProtocolArg(DataTypes::Count, 0, int(participants.size()))};
    for (int i = 0; i < participants.size(); ++i)
        answer.append(ProtocolArg(DataTypes::Identifier, DataField(i + 1), participants.at(i)));
    answer.append(ProtocolArg(DataTypes::WindowHandle, DataField(participants.size() + 1),
                              qint64(m_window->winId())));
    answer.append(ProtocolArg(DataTypes::Flag, DataField(participants.size() + 2), false));
    if (m_network)
        m_network->completeLater(request.id, true, answer);
    return true;
}

void DemoSlideshow::updateMembers(const SentRequest &request)
{
    // The members before and after the change, each block led by its count:
    // a running slideshow shows the second; none is started for it.
    QStringList blocks[2];
    int block = -1;
    for (const ProtocolArg &arg : request.args) {
        if (arg.field() == peopleField)
            block = qMin(block + 1, 1);
        else if (arg.field() == personField && block >= 0)
            blocks[block].append(arg.variant().toString());
    }
    if (m_window && m_window->isVisible())
        openWindow(m_window->windowTitle(), blocks[1], {});
    if (m_network)
        m_network->completeLater(request.id, true);
}

void DemoSlideshow::openWindow(const QString &title, const QStringList &participants, const QStringList &files)
{
    if (!m_window) {
        m_window = new QWidget(nullptr, Qt::Window);
        m_window->setAttribute(Qt::WA_DeleteOnClose);
        m_window->setObjectName(QStringLiteral("demoSlideshow"));
        auto *layout = new QVBoxLayout(m_window);
        auto *label = new QLabel(m_window);
        label->setObjectName(QStringLiteral("slide"));
        label->setAlignment(Qt::AlignCenter);
        label->setWordWrap(true);
        label->setStyleSheet(QStringLiteral("background: #263238; color: white; font-size: 14pt;"));
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(label);
        m_window->resize(320, 320);
    }
    QStringList names;
    for (const QString &id : participants) {
        const BuddyData *data = CZuBuddy_Administrator::Instance()->data(id.toUInt());
        names.append(data && !data->nickname.isEmpty() ? data->nickname : id);
    }
    QString text = QStringLiteral("<b>%1</b><br><br>%2").arg(title.toHtmlEscaped(),
                                                            tr("With %1").arg(names.join(QStringLiteral(", "))).toHtmlEscaped());
    if (!files.isEmpty())
        text += QStringLiteral("<br><br>") + tr("%n picture(s)", nullptr, int(files.size()));
    text += QStringLiteral("<br><br><small>%1</small>").arg(tr("The chat module places this window beside its chat.").toHtmlEscaped());
    m_window->findChild<QLabel *>(QStringLiteral("slide"))->setText(text);
    m_window->setWindowTitle(title);
    m_window->show();
}

} // namespace zubrel
