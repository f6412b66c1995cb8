#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Turns a byte stream that arrives in arbitrary pieces into UTF-16 text.
// Bytes that are ill-formed in themselves become U+FFFD, one per maximal
// ill-formed subpart (the Unicode recommended practice, which is also what the
// system's UTF-8 conversion does). A sequence that is merely cut off by the end
// of a piece is not ill-formed: its bytes (at most 3) are held back and put in
// front of the next piece, so the text does not depend on how the stream was
// split.
class Utf8StreamDecoder {
public:
    // Returns the text of the held bytes followed by `data`, except for an
    // incomplete sequence at its end, which is held for the next call.
    std::u16string Decode(const std::uint8_t* data, std::size_t length);

    // Forgets held bytes (the stream was interrupted, for example by a close).
    void Reset() { m_heldLength = 0; }

    std::size_t HeldLength() const { return m_heldLength; }

private:
    std::uint8_t m_held[3] = {};
    std::size_t m_heldLength = 0;
};
