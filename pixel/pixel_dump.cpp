#include <lumora/pixel.h>

#include <ostream>

std::ostream& operator<<(std::ostream& stream, const KRun& run) {
    return stream << "( KRun : pBeg = " << run.pBeg << " pEnd = " << run.pEnd << " n16X = " << run.n16X
                  << " n16Y = " << run.n16Y << ")";
}

// Each channel is written as the character with that byte value, not as a
// number: that is what the dump has always produced.
std::ostream& operator<<(std::ostream& stream, const KC24& pixel) {
    return stream << "( KC24 : m_un8C2 = " << static_cast<char>(pixel.m_un8C2)
                  << " m_un8C1 = " << static_cast<char>(pixel.m_un8C1)
                  << " m_un8C0 = " << static_cast<char>(pixel.m_un8C0) << ")";
}

std::ostream& operator<<(std::ostream& stream, const KColor& color) {
    return stream << "( KColor : X = " << color.X << " Y = " << color.Y << " Z = " << color.Z << ")";
}
