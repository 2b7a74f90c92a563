#pragma once
// The header of one push-message section: the same foldable header as the
// emoticon picker's.
#include "zsmileyclass.h"

namespace zubrel {

class ZPushMessageClass : public ZSmileyClass
{
    Q_OBJECT
public:
    explicit ZPushMessageClass(QWidget *parent = nullptr)
        : ZSmileyClass(parent)
    {
    }
};

} // namespace zubrel
