// Fuzz target for turning a phrase file's bytes into its full text. Whatever the bytes, the result is whole
// lines each ended by CR LF, and every byte that is not a line terminator comes back: in ANSI one unit per byte,
// in UTF-16 one unit per pair, in UTF-8 one character per well-formed sequence and one U+FFFD per other byte.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/text.h"
#include "store/phrases.h"

namespace {

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "property broken: %s\n", what);
        std::abort();
    }
}

bool terminator(char32_t u) { return u == 0x0A || u == 0x0D || u == 0x00; }

// The lines of a sequence of units, read as a file is read: one unit after the other, a line ends at LF, at CR
// (which takes a directly following LF with it) and at NUL; the end of the input ends the last line.
std::vector<std::u32string> referenceLines(const std::u32string& units) {
    std::vector<std::u32string> lines;
    std::size_t at = 0;
    while (at < units.size()) {
        std::u32string line;
        for (;;) {
            if (at == units.size()) break;
            const char32_t u = units[at++];
            if (u == 0x0D) {
                if (at < units.size() && units[at] == 0x0A) ++at;
                break;
            }
            if (u == 0x0A || u == 0x00) break;
            line += u;
        }
        lines.push_back(line);
    }
    return lines;
}

std::u16string joined(const std::vector<std::u32string>& lines) {
    std::u16string out;
    for (const std::u32string& line : lines) {
        for (char32_t u : line) out += static_cast<char16_t>(u);
        out += u"\r\n";
    }
    return out;
}

// Length of the well-formed UTF-8 sequence at b[i], after the table of well-formed byte sequences in the
// Unicode standard; 0 when none begins there.
std::size_t wellFormedLength(const std::u32string& b, std::size_t i) {
    auto in = [&](std::size_t k, unsigned lo, unsigned hi) { return i + k < b.size() && b[i + k] >= lo && b[i + k] <= hi; };
    const char32_t c = b[i];
    if (c <= 0x7F) return 1;
    if (c >= 0xC2 && c <= 0xDF) return in(1, 0x80, 0xBF) ? 2 : 0;
    if (c == 0xE0) return in(1, 0xA0, 0xBF) && in(2, 0x80, 0xBF) ? 3 : 0;
    if ((c >= 0xE1 && c <= 0xEC) || c == 0xEE || c == 0xEF) return in(1, 0x80, 0xBF) && in(2, 0x80, 0xBF) ? 3 : 0;
    if (c == 0xED) return in(1, 0x80, 0x9F) && in(2, 0x80, 0xBF) ? 3 : 0;
    if (c == 0xF0) return in(1, 0x90, 0xBF) && in(2, 0x80, 0xBF) && in(3, 0x80, 0xBF) ? 4 : 0;
    if (c >= 0xF1 && c <= 0xF3) return in(1, 0x80, 0xBF) && in(2, 0x80, 0xBF) && in(3, 0x80, 0xBF) ? 4 : 0;
    if (c == 0xF4) return in(1, 0x80, 0x8F) && in(2, 0x80, 0xBF) && in(3, 0x80, 0xBF) ? 4 : 0;
    return 0;
}

bool wellFormed(const std::u32string& b) {
    for (std::size_t i = 0; i < b.size();) {
        const std::size_t n = wellFormedLength(b, i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

std::u32string utf8Of(char32_t cp) {
    if (cp < 0x80) return {cp};
    if (cp < 0x800) return {0xC0 | (cp >> 6), 0x80 | (cp & 0x3F)};
    if (cp < 0x10000) return {0xE0 | (cp >> 12), 0x80 | ((cp >> 6) & 0x3F), 0x80 | (cp & 0x3F)};
    return {0xF0 | (cp >> 18), 0x80 | ((cp >> 12) & 0x3F), 0x80 | ((cp >> 6) & 0x3F), 0x80 | (cp & 0x3F)};
}

// UTF-8 path: the text, with its line ends as CR LF, walked against the bytes whose lines were normalised the
// same way (terminator bytes never occur inside a multi-byte sequence). Where a well-formed sequence begins,
// the text must hold its character; where none begins, exactly one U+FFFD stands for exactly one byte.
void checkUtf8(const std::u16string& text, const std::u32string& body) {
    std::u32string bytes;
    for (const std::u32string& line : referenceLines(body)) bytes += line + U"\r\n";
    std::size_t at = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        check(cp < 0xDC00 || cp > 0xDFFF, "no lone low surrogate");
        if (cp >= 0xD800 && cp <= 0xDBFF) {
            check(i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF, "no lone high surrogate");
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[++i] - 0xDC00);
        }
        check(at < bytes.size(), "no more characters than bytes");
        const std::size_t n = wellFormedLength(bytes, at);
        if (n == 0) {
            check(cp == 0xFFFD, "a byte that begins no well-formed sequence becomes U+FFFD");
            ++at;
        } else {
            check(bytes.compare(at, n, utf8Of(cp)) == 0, "a well-formed sequence becomes its character");
            at += n;
        }
    }
    check(at == bytes.size(), "every byte is accounted for");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string text = mz::phraseFullText(data, size);

    // Lines each ended by CR LF, and no CR, LF or NUL anywhere else.
    check(text.empty() || (text.size() >= 2 && text.compare(text.size() - 2, 2, u"\r\n") == 0),
          "empty or ends with CR LF");
    for (std::size_t i = 0; i < text.size(); ++i) {
        check(text[i] != 0, "no NUL");
        if (text[i] == u'\r') check(i + 1 < text.size() && text[i + 1] == u'\n', "CR only before LF");
        if (text[i] == u'\n') check(i > 0 && text[i - 1] == u'\r', "LF only after CR");
    }
    if (size == 0) check(text.empty(), "an empty file has an empty text");

    std::u32string bytes(data, data + size);
    if (size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF) {
        checkUtf8(text, bytes.substr(3));
        return 0;
    }
    if (size >= 2 && ((data[0] == 0xFF && data[1] == 0xFE) || (data[0] == 0xFE && data[1] == 0xFF))) {
        // UTF-16 with its mark: each pair is one unit, a lone last byte one U+FFFD.
        const bool little = data[0] == 0xFF;
        std::u32string units;
        for (std::size_t i = 2; i + 1 < size; i += 2)
            units += little ? char32_t(data[i] | (data[i + 1] << 8)) : char32_t((data[i] << 8) | data[i + 1]);
        if (size % 2 != 0) units += 0xFFFD;
        check(text == joined(referenceLines(units)), "UTF-16: every non-terminator unit in its line");
        return 0;
    }
    bool high = false;
    for (std::size_t i = 0; i < size; ++i) high = high || data[i] >= 0x80;
    if (high && wellFormed(bytes)) {
        checkUtf8(text, bytes);  // well-formed throughout, so no byte may have become U+FFFD
        return 0;
    }
    // ANSI: one unit per byte, so the units that are not line ends number exactly the bytes that are not.
    std::u32string units;
    for (char32_t b : bytes) {
        if (terminator(b)) {
            units += b;
            continue;
        }
        const std::uint8_t one = static_cast<std::uint8_t>(b);
        const std::u16string decoded = mz::decodeAnsi(&one, 1);
        check(decoded.size() == 1 && !terminator(decoded[0]), "an ANSI byte is one unit that ends no line");
        units += decoded[0];
    }
    check(text == joined(referenceLines(units)), "ANSI: every non-terminator byte in its line");
    std::size_t kept = 0, expected = 0;
    for (char16_t u : text) kept += !terminator(u);
    for (char32_t b : bytes) expected += !terminator(b);
    check(kept == expected, "ANSI: no non-terminator byte lost");
    return 0;
}
