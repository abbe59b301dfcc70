#pragma once

#include "runtime/Object.h"
#include "runtime/String.h"

// Applies a design-time property set to the object, entry by entry in order, through the setters of
// its class's property table. An entry is a key (bytes up to a space), one space and the value in the
// form of the property's type code:
//   i4  4 bytes, big-endian two's complement
//   b   1 byte, 00 or 01
//   c   3 bytes: red, green, blue (alpha 0)
//   s   4-byte big-endian byte count, then the bytes (kept exactly, tagged UTF-8)
// Entries have no count, separator or terminator. A nil object raises NilObjectException; a malformed
// set raises InvalidArgumentException naming the key and the entry's byte offset, with the entries
// before it left applied. A nil or empty set does nothing.
void RuntimeMassPropertySetter(Object* object, String* set);
