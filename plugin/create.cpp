// The entry point the host looks up after loading the module library.

#include <new>

#include "chatplugin.h"

extern "C" __attribute__((visibility("default"))) WrapPlugin *create()
{
    return new (std::nothrow) ChatPlugin; // the host owns it
}
