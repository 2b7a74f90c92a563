#pragma once
// What carries requests away from the client. The helper hands every sent
// request to its backend; a real client would put it on the wire, the
// simulated network keeps it until someone completes it.

class Request;

class WrapBackend
{
public:
    virtual ~WrapBackend() = default;
    // module is -1 for the network, else the host module it was sent to.
    virtual void transmit(Request *request, int module) = 0;
};
