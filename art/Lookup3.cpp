#include "art/Lookup3.h"

#include <QtEndian>

#include <cstring>

namespace {

std::uint32_t Rotate(std::uint32_t Value, int Bits)
{
    return (Value << Bits) | (Value >> (32 - Bits));
}

void Mix(std::uint32_t &A, std::uint32_t &B, std::uint32_t &C)
{
    A -= C; A ^= Rotate(C, 4);  C += B;
    B -= A; B ^= Rotate(A, 6);  A += C;
    C -= B; C ^= Rotate(B, 8);  B += A;
    A -= C; A ^= Rotate(C, 16); C += B;
    B -= A; B ^= Rotate(A, 19); A += C;
    C -= B; C ^= Rotate(B, 4);  B += A;
}

void Final(std::uint32_t &A, std::uint32_t &B, std::uint32_t &C)
{
    C ^= B; C -= Rotate(B, 14);
    A ^= C; A -= Rotate(C, 11);
    B ^= A; B -= Rotate(A, 25);
    C ^= B; C -= Rotate(B, 16);
    A ^= C; A -= Rotate(C, 4);
    B ^= A; B -= Rotate(A, 14);
    C ^= B; C -= Rotate(B, 24);
}

std::uint32_t WordAt(const unsigned char *Bytes)
{
    return qFromLittleEndian<std::uint32_t>(Bytes);
}

} // namespace

TLookup3Hash HashLittle2(const void *Key, std::size_t Length, std::uint32_t C, std::uint32_t B)
{
    const auto *bytes = static_cast<const unsigned char *>(Key);
    std::uint32_t a = 0xDEADBEEF + std::uint32_t(Length) + C;
    std::uint32_t b = a;
    std::uint32_t c = a + B;
    if (Length == 0)
        return {c, b};
    for (; Length > 12; Length -= 12, bytes += 12) {
        a += WordAt(bytes);
        b += WordAt(bytes + 4);
        c += WordAt(bytes + 8);
        Mix(a, b, c);
    }
    // The last one to twelve bytes, with zeros after them: adding a zero
    // byte is adding nothing, as the byte-wise form of the algorithm does.
    unsigned char last[12] = {};
    std::memcpy(last, bytes, Length);
    a += WordAt(last);
    b += WordAt(last + 4);
    c += WordAt(last + 8);
    Final(a, b, c);
    return {c, b};
}
