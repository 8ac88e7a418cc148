#include "tiledata/TileRecord.h"

int NameSize(const TTileRecord &record)
{
    int n = 0;
    while (n < NameLength && record.Name[n] != '\0')
        ++n;
    return n;
}
