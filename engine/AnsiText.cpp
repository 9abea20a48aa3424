#include "engine/Text.h"
#include "platform/CodePage.h"

const LeadByteTable& AnsiLeadBytes()
{
    static const LeadByteTable table = LeadByteTable::From(IsAnsiLeadByte);
    return table;
}
