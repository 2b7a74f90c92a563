#pragma once
// Host enumerations that the protocol and the chat log use by number.

namespace Zr {

enum ContactStatus {
    Offline = 0,
    Online = 1,
    Away = 2,
    Busy = 3,
    DoNotDisturb = 4,
    Invisible = 5,
};

enum ClientApplication {
    DesktopClient = 0,
    WebClient = 1,
    MobileClient = 2,
};

enum ChatDirection {
    Sent = 0,
    Received = 1,
};

// Messenger networks: 1 is the client's own, 2 and 4 are bridged networks.
enum Messenger {
    ZubrelNetwork = 1,
    BridgedNetwork = 2,
    OtherBridgedNetwork = 4,
};

// Client types 0x21 and 0x22 are phones: they get picture references only.
enum ClientType {
    DesktopClientType = 0x01,
    MobileClientType = 0x21,
    MobileWebClientType = 0x22,
};

} // namespace Zr
