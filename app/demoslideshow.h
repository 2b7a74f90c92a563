#pragma once
// The messenger's slideshow module (module 40), simulated: a slideshow or
// screenshot request opens a slideshow window and the answer carries the
// participants, the window's native handle and "leave it where it is" =
// false, so the chat module places the window beside its chat.

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

struct SentRequest;

namespace zubrel {

class DemoNetwork;

class DemoSlideshow : public QObject
{
    Q_OBJECT
public:
    static constexpr ushort module = 40;

    explicit DemoSlideshow(DemoNetwork *network, QObject *parent = nullptr);
    ~DemoSlideshow() override;

    // Handles requests to the slideshow module; true when it took the request.
    bool handle(const SentRequest &request);
    // The window of the newest slideshow, while it is open.
    QWidget *window() const { return m_window; }

private:
    void updateMembers(const SentRequest &request);
    void openWindow(const QString &title, const QStringList &participants, const QStringList &files);

    QPointer<DemoNetwork> m_network;
    QPointer<QWidget> m_window;
};

} // namespace zubrel
