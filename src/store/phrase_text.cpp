// Turns one phrase file's bytes into its full text: encoding detected, lines split, each ended by CR LF.
#include <vector>

#include "platform/text.h"
#include "store/phrases.h"

namespace mz {

namespace {

// Appends line after line of units to out, each decoded by appendLine and followed by CR LF. A line ends at
// LF, CR, CR LF or NUL; a terminator that is the last thing in the input is not followed by an empty line.
template <typename Unit, typename AppendLine>
void appendLines(const Unit* units, std::size_t n, AppendLine appendLine, std::u16string& out) {
    std::size_t i = 0;
    while (i < n) {
        std::size_t start = i;
        while (i < n && units[i] != 0x0A && units[i] != 0x0D && units[i] != 0x00) ++i;
        appendLine(units + start, i - start, out);
        out += u"\r\n";
        if (i < n) {
            bool cr = units[i] == 0x0D;
            ++i;
            if (cr && i < n && units[i] == 0x0A) ++i;
        }
    }
}

// Strict UTF-8 decoding: true when every sequence is well-formed (no overlongs, surrogates or values
// beyond U+10FFFF). Ill-formed sequences become U+FFFD when decoding anyway.
bool decodeUtf8(const std::uint8_t* b, std::size_t n, std::u16string* out) {
    bool valid = true;
    std::size_t i = 0;
    while (i < n) {
        std::uint8_t c = b[i];
        char32_t cp = 0;
        std::size_t len = 0;
        char32_t min = 0;
        if (c < 0x80) {
            cp = c, len = 1;
        } else if (c >= 0xC2 && c <= 0xDF) {
            cp = c & 0x1F, len = 2, min = 0x80;
        } else if (c >= 0xE0 && c <= 0xEF) {
            cp = c & 0x0F, len = 3, min = 0x800;
        } else if (c >= 0xF0 && c <= 0xF4) {
            cp = c & 0x07, len = 4, min = 0x10000;
        }
        bool ok = len > 0 && i + len <= n;
        for (std::size_t k = 1; ok && k < len; ++k) {
            if ((b[i + k] & 0xC0) != 0x80) ok = false;
            else cp = (cp << 6) | (b[i + k] & 0x3F);
        }
        if (ok && (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) ok = false;
        if (!ok) {
            valid = false;
            if (!out) return false;
            *out += u'\xFFFD';
            ++i;
            continue;
        }
        if (out) {
            if (cp >= 0x10000) {
                cp -= 0x10000;
                *out += static_cast<char16_t>(0xD800 + (cp >> 10));
                *out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
            } else {
                *out += static_cast<char16_t>(cp);
            }
        }
        i += len;
    }
    return valid;
}

void sameLine(const char16_t* units, std::size_t n, std::u16string& out) {
    out.append(units, n);
}

void utf8Line(const std::uint8_t* bytes, std::size_t n, std::u16string& out) {
    decodeUtf8(bytes, n, &out);
}

void ansiLine(const std::uint8_t* bytes, std::size_t n, std::u16string& out) {
    out += decodeAnsi(bytes, n);
}

// Split on the bytes, then decoded line by line, so that a long text is never held twice. CR, LF and NUL
// never occur inside a UTF-8 sequence, and one they cut short is ill-formed either way.
std::u16string fullTextOfUtf8(const std::uint8_t* bytes, std::size_t n) {
    std::u16string out;
    out.reserve(n + n / 16 + 2);
    appendLines(bytes, n, utf8Line, out);
    return out;
}

std::u16string fullTextOfUnits(const std::u16string& units) {
    std::u16string out;
    out.reserve(units.size() + units.size() / 16 + 2);
    appendLines(units.data(), units.size(), sameLine, out);
    return out;
}

}  // namespace

std::u16string phraseFullText(const std::uint8_t* bytes, std::size_t n) {
    // Byte-order marks first: what the system editor writes when asked for UTF-8 or UTF-16.
    if (n >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
        return fullTextOfUtf8(bytes + 3, n - 3);
    if (n >= 2 && ((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == 0xFE && bytes[1] == 0xFF))) {
        bool little = bytes[0] == 0xFF;
        std::u16string units;
        units.reserve((n - 2) / 2 + 1);
        for (std::size_t i = 2; i + 1 < n; i += 2)
            units += static_cast<char16_t>(little ? bytes[i] | (bytes[i + 1] << 8) : (bytes[i] << 8) | bytes[i + 1]);
        if ((n - 2) % 2 != 0) units += u'\xFFFD';  // a lone last byte is not a whole unit
        return fullTextOfUnits(units);
    }
    // Without a mark: UTF-8 when it is well-formed and not plain ASCII (current editors save so by default).
    bool high = false;
    for (std::size_t i = 0; i < n && !high; ++i) high = bytes[i] >= 0x80;
    if (high && decodeUtf8(bytes, n, nullptr)) return fullTextOfUtf8(bytes, n);
    // Otherwise the system's ANSI code page, decoded line by line.
    std::u16string out;
    out.reserve(n + n / 16 + 2);
    appendLines(bytes, n, ansiLine, out);
    return out;
}

}  // namespace mz
