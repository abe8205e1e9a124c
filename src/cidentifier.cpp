#include "cidentifier.h"

namespace {

bool IsIdentifierByte(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

}

std::string IdentifierPart(const std::string& text)
{
    std::string part = text;
    for (char& c : part) {
        c = IsIdentifierByte(c) ? c : '_';
    }
    return part;
}

bool IsIdentifier(const std::string& text)
{
    if (text.empty() || IsDigit(text[0])) {
        return false;
    }
    for (char c : text) {
        if (!IsIdentifierByte(c)) {
            return false;
        }
    }
    return true;
}

bool MakesReservedNames(const std::string& identifier)
{
    const std::string guard = identifier + "_H";
    return guard[0] == '_' && (guard[1] == '_' || (guard[1] >= 'A' && guard[1] <= 'Z'));
}
