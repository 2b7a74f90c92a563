#pragma once
// One typed, numbered argument of a protocol command: (type, field, value).

#include <QVariant>

using DataType = quint16;
using DataField = quint16;

// The data type codes the chat module uses.
namespace DataTypes {
enum : DataType {
    Flag = 2,          // small integers and flags
    Count = 4,         // integer counts
    WindowHandle = 5,  // native window handles
    Identifier = 6,    // identifiers, text or int
    Text = 32,         // text or bytes
};
}

class ProtocolArg
{
public:
    ProtocolArg() = default;
    ProtocolArg(DataType type, DataField field, const QVariant &value)
        : m_type(type), m_field(field), m_value(value) {}

    DataType type() const { return m_type; }
    DataField field() const { return m_field; }
    QVariant variant() const { return m_value; }

    bool operator==(const ProtocolArg &other) const
    {
        return m_type == other.m_type && m_field == other.m_field && m_value == other.m_value;
    }

private:
    DataType m_type = 0;
    DataField m_field = 0;
    QVariant m_value;
};
