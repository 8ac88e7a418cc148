#include "tiledata/TileRecord.h"

#include <cstring>

int NameSize(const char *Field)
{
    // memchr scans the field in a few wide steps; list building asks for
    // every tile's name length at once.
    const void *zero = std::memchr(Field, 0, NameLength);
    return zero == nullptr ? NameLength : static_cast<int>(static_cast<const char *>(zero) - Field);
}
