// Turns one phrase file's bytes into its full text: encoding detected, lines split, each ended by CR LF.
#include "platform/text.h"
#include "store/phrases.h"

namespace mz {

namespace {

// Room for the lines of n units: CR LF may stand where one terminator stood, and one more may end the text.
std::size_t linesCapacity(std::size_t n) { return n + n / 8 + 2; }

// Builds a full text from decoded units, turning the line ends on the way: a line ends at LF, CR, CR LF or
// NUL and is followed by CR LF; a last line without a terminator is ended too. The units pass through a
// small buffer, so that the text is written once, in whole runs (large texts are fresh memory, and each
// first touch of a page costs more than the copy).
struct LineWriter {
    std::u16string text;
    static constexpr std::size_t RunSize = 1024;
    char16_t run[RunSize];
    std::size_t used = 0;
    bool afterCr = false;
    bool lineOpen = false;

    explicit LineWriter(std::size_t bytes) { text.reserve(linesCapacity(bytes)); }

    void flush() {
        text.append(run, used);
        used = 0;
    }
    void put(char16_t u) {
        if (used + 2 > RunSize) flush();
        if (u == 0x0A && afterCr) {  // the second half of CR LF
            afterCr = false;
            return;
        }
        afterCr = u == 0x0D;
        if (u == 0x0A || u == 0x0D || u == 0x00) {
            run[used++] = u'\r';
            run[used++] = u'\n';
            lineOpen = false;
        } else {
            run[used++] = u;
            lineOpen = true;
        }
    }
    // A run of units none of which ends a line (most of a text), widened in one go.
    void putPlain(const std::uint8_t* units, std::size_t n) {
        afterCr = false;
        lineOpen = lineOpen || n > 0;
        while (n > 0) {
            if (used == RunSize) flush();
            const std::size_t k = n < RunSize - used ? n : RunSize - used;
            for (std::size_t j = 0; j < k; ++j) run[used + j] = units[j];
            used += k;
            units += k;
            n -= k;
        }
    }
    std::u16string finish() {
        flush();
        if (lineOpen) text += u"\r\n";
        return std::move(text);
    }
};

// Strict UTF-8 decoding into w: true when every sequence is well-formed (no overlongs, surrogates or values
// beyond U+10FFFF). With replace, ill-formed bytes become one U+FFFD each; without, decoding stops at the
// first one.
bool decodeUtf8(const std::uint8_t* b, std::size_t n, LineWriter& w, bool replace) {
    bool valid = true;
    std::size_t i = 0;
    while (i < n) {
        std::uint8_t c = b[i];
        if (c < 0x80) {
            std::size_t j = i;
            while (j < n && b[j] < 0x80 && b[j] != 0x0A && b[j] != 0x0D && b[j] != 0x00) ++j;
            if (j == i) {
                w.put(c);
                ++j;
            } else {
                w.putPlain(b + i, j - i);
            }
            i = j;
            continue;
        }
        char32_t cp = 0;
        std::size_t len = 0;
        char32_t min = 0;
        if (c >= 0xC2 && c <= 0xDF) {
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
            if (!replace) return false;
            w.put(u'\xFFFD');
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            w.put(static_cast<char16_t>(0xD800 + (cp >> 10)));
            w.put(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            w.put(static_cast<char16_t>(cp));
        }
        i += len;
    }
    return valid;
}

// The ANSI code page is decoded a whole line at a time, so that a double-byte character stays whole.
std::u16string ansiFullText(const std::uint8_t* bytes, std::size_t n) {
    std::u16string out;
    out.reserve(linesCapacity(n));
    std::size_t i = 0;
    while (i < n) {
        std::size_t start = i;
        while (i < n && bytes[i] != 0x0A && bytes[i] != 0x0D && bytes[i] != 0x00) ++i;
        if (i > start) out += decodeAnsi(bytes + start, i - start);
        out += u"\r\n";
        if (i < n) {
            bool cr = bytes[i] == 0x0D;
            ++i;
            if (cr && i < n && bytes[i] == 0x0A) ++i;
        }
    }
    return out;
}

}  // namespace

std::u16string phraseFullText(const std::uint8_t* bytes, std::size_t n) {
    // Byte-order marks first: what the system editor writes when asked for UTF-8 or UTF-16.
    if (n >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        LineWriter w(n - 3);
        decodeUtf8(bytes + 3, n - 3, w, true);
        return w.finish();
    }
    if (n >= 2 && ((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == 0xFE && bytes[1] == 0xFF))) {
        bool little = bytes[0] == 0xFF;
        LineWriter w((n - 2) / 2 + 1);
        for (std::size_t i = 2; i + 1 < n; i += 2)
            w.put(static_cast<char16_t>(little ? bytes[i] | (bytes[i + 1] << 8) : (bytes[i] << 8) | bytes[i + 1]));
        if ((n - 2) % 2 != 0) w.put(u'\xFFFD');  // a lone last byte is not a whole unit
        return w.finish();
    }
    // Without a mark: UTF-8 when it is well-formed (current editors save so by default). Plain ASCII is
    // well-formed too, and every ANSI code page reads it the same.
    {
        LineWriter w(n);
        if (decodeUtf8(bytes, n, w, false)) return w.finish();
    }
    // Otherwise the system's ANSI code page, decoded line by line.
    return ansiFullText(bytes, n);
}

}  // namespace mz
