#pragma once
// Host enumerations that the protocol and the chat log use by number.
// Each has int as its fixed type: numbers beyond the named ones arrive from
// the network and the log (and a dropped picture travels as application 16),
// and only with a fixed type is every int a valid value, not undefined
// behaviour.

namespace Zr {

enum ContactStatus : int {
    Offline = 0,
    Online = 1,
    Away = 2,
    Busy = 3,
    DoNotDisturb = 4,
    Invisible = 5,
};

enum ClientApplication : int {
    DesktopClient = 0,
    WebClient = 1,
    MobileClient = 2,
};

enum ChatDirection : int {
    Sent = 0,
    Received = 1,
};

// Messenger networks: 1 is the client's own, 2 and 4 are bridged networks.
enum Messenger : int {
    ZubrelNetwork = 1,
    BridgedNetwork = 2,
    OtherBridgedNetwork = 4,
};

// Client types 0x21 and 0x22 are phones: they get picture references only.
enum ClientType : int {
    DesktopClientType = 0x01,
    MobileClientType = 0x21,
    MobileWebClientType = 0x22,
};

} // namespace Zr
