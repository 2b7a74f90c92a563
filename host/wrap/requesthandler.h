#pragma once
// The registration of one incoming command: every delivery of (a, b) emits
// onFunction with the request to answer.

#include <QObject>

class Request;

class RequestHandler : public QObject
{
    Q_OBJECT
public:
    RequestHandler(ushort a, ushort b, void *context, QObject *parent)
        : QObject(parent), m_a(a), m_b(b), m_context(context) {}

    ushort a() const { return m_a; }
    ushort b() const { return m_b; }
    void *context() const { return m_context; }

signals:
    void onFunction(RequestHandler *handler, Request *request);

private:
    ushort m_a = 0;
    ushort m_b = 0;
    void *m_context = nullptr;
};
