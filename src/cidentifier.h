#ifndef POLVANE_CIDENTIFIER_H
#define POLVANE_CIDENTIFIER_H

#include <string>

// True for an ASCII letter or "_" followed by letters, digits and "_".
bool IsIdentifier(const std::string& text);

// True when the names made from this prefix are reserved in C: the include guard <prefix>_H, and with it every
// other name, begins with "__" or with "_" and a capital letter.
bool MakesReservedNames(const std::string& identifier);

// text with every byte other than an ASCII letter, digit or "_" replaced by "_": a name that can follow a C
// identifier's prefix.
std::string IdentifierPart(const std::string& text);

#endif
