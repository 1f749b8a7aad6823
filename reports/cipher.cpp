#include "cipher.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace kalvar {

namespace {

// The alphabet: printable ASCII, the Russian and Belarusian letters and a few marks that owner
// details use. Its order is the order of the table below.
constexpr std::u32string_view alphabet =
    U" !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~"
    U"АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдеёжзийклмнопрстуфхцчшщъыьэюяІіЎў№«»–—";

// The substitution: plain character at position i is stored as the character at position
// (i · step + offset) mod n. A step coprime with n makes it a permutation.
constexpr size_t step = 37;
constexpr size_t offset = 11;

constexpr size_t gcd(size_t a, size_t b) {
    return b == 0 ? a : gcd(b, a % b);
}
static_assert(gcd(step, alphabet.size()) == 1, "the step must make the table a permutation");

struct Tables {
    std::array<char32_t, alphabet.size()> enciphered{};
    std::array<char32_t, alphabet.size()> deciphered{};
};

constexpr Tables makeTables() {
    Tables t;
    const size_t n = alphabet.size();
    for (size_t i = 0; i < n; ++i) {
        const size_t j = (i * step + offset) % n;
        t.enciphered[i] = alphabet[j];
        t.deciphered[j] = alphabet[i];
    }
    return t;
}

constexpr Tables tables = makeTables();

// One UTF-8 character at s[pos]: its code point and length, or length 0 when the bytes there
// are not a well-formed character.
std::pair<char32_t, size_t> decodeAt(std::string_view s, size_t pos) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char b0 = byte(pos);
    if (b0 < 0x80) return {b0, 1};
    size_t len = 0;
    char32_t cp = 0;
    if ((b0 & 0xE0) == 0xC0) {
        len = 2;
        cp = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3;
        cp = b0 & 0x0F;
    } else {
        return {0, 0}; // four-byte characters are never in the alphabet
    }
    if (pos + len > s.size()) return {0, 0};
    for (size_t i = 1; i < len; ++i) {
        if ((byte(pos + i) & 0xC0) != 0x80) return {0, 0};
        cp = (cp << 6) | (byte(pos + i) & 0x3F);
    }
    return {cp, len};
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string substitute(const std::string& text, const std::array<char32_t, alphabet.size()>& table) {
    std::string out;
    out.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        const auto [cp, len] = decodeAt(text, pos);
        const size_t index = len == 0 ? std::u32string_view::npos : alphabet.find(cp);
        if (index == std::u32string_view::npos) {
            // Not ours to change: copy the character (or the stray byte) as it stands.
            const size_t n = len == 0 ? 1 : len;
            out.append(text, pos, n);
            pos += n;
            continue;
        }
        appendUtf8(out, table[index]);
        pos += len;
    }
    return out;
}

} // namespace

std::string decipher(const std::string& stored) {
    return substitute(stored, tables.deciphered);
}

std::string encipher(const std::string& plain) {
    return substitute(plain, tables.enciphered);
}

} // namespace kalvar
