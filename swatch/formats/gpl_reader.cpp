#include "swatch/formats/gpl_reader.h"

#include <algorithm>
#include <cstdint>

#include "swatch/byte_reader.h"
#include "swatch/colour_space.h"
#include "swatch/swatch_names.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kFirstLine = "GIMP Palette";
// Far more than a colour and a name cut to the longest kept need; the rest of a longer line is
// passed over.
constexpr std::size_t kLineBytes = 1024;
// "0 0 0" and its line feed: the least a colour takes, which bounds the records a file of its
// size can hold.
constexpr std::uint64_t kSmallestColourLine = 6;
constexpr std::size_t kNameUnits = SwatchNames::kReadUnits;
constexpr char16_t kReplacement = u'\uFFFD';

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool StartsWith(std::string_view text, std::string_view start) {
    return text.substr(0, start.size()) == start;
}

// A value 0..255 in decimal digits, taken from the front of `text`.
bool TakeChannel(std::string_view& text, std::uint16_t* value) {
    std::size_t digits = 0;
    unsigned number = 0;
    for (; digits < text.size() && text[digits] >= '0' && text[digits] <= '9'; ++digits) {
        number = number * 10 + static_cast<unsigned>(text[digits] - '0');
        if (number > 255) {
            return false;
        }
    }
    text.remove_prefix(digits);
    // The 8-bit value fills the 16-bit component, as an editor stores it.
    *value = static_cast<std::uint16_t>(number * 257);
    return digits > 0;
}

// "R G B" and the name after it, blanks or tabs between, on a trimmed line.
bool ParseColour(std::string_view line, SwatchEntry* entry, std::string_view* name) {
    std::uint16_t rgb[3];
    for (int i = 0; i < 3; ++i) {
        if (!TakeChannel(line, &rgb[i]) || (!line.empty() && !IsBlank(line.front()))) {
            return false;
        }
        line = Trimmed(line);
    }
    *entry = MakeSwatchEntry(ColourSpace::kRgb, rgb[0], rgb[1], rgb[2]);
    *name = line;
    return true;
}

// UTF-8 into at most kNameUnits UTF-16 units; a broken sequence gives one replacement character.
std::size_t Widen(std::string_view text, char16_t* out) {
    std::size_t units = 0;
    for (std::size_t i = 0; i < text.size() && units < kNameUnits;) {
        const auto lead = static_cast<std::uint8_t>(text[i++]);
        const std::size_t trail = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
        std::uint32_t code = trail == 0 ? lead : lead & (0x3F >> trail);
        std::size_t taken = 0;
        for (; taken < trail && i < text.size() && (text[i] & 0xC0) == 0x80; ++taken) {
            code = code << 6 | (text[i++] & 0x3F);
        }
        static constexpr std::uint32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
        const bool broken = (lead >= 0x80 && lead < 0xC0) || lead >= 0xF8 || taken < trail ||
                            code < kLeast[trail] || code > 0x10FFFF ||
                            (code >= 0xD800 && code <= 0xDFFF);
        if (broken) {
            out[units++] = kReplacement;
        } else if (code >= 0x10000) {
            if (units + 2 > kNameUnits) {
                break;
            }
            code -= 0x10000;
            out[units++] = static_cast<char16_t>(0xD800 + (code >> 10));
            out[units++] = static_cast<char16_t>(0xDC00 + (code & 0x3FF));
        } else {
            out[units++] = static_cast<char16_t>(code);
        }
    }
    return units;
}

}  // namespace

bool IsGimpPalette(std::string_view start) {
    if (StartsWith(start, kByteOrderMark)) {
        start.remove_prefix(kByteOrderMark.size());
    }
    return StartsWith(start, kFirstLine) &&
           (start.size() == kFirstLine.size() || IsBlank(start[kFirstLine.size()]) ||
            start[kFirstLine.size()] == '\n');
}

ReadOutcome ReadGpl(ByteReader& in, Palette& out) {
    char line[kLineBytes];
    std::size_t length = 0;
    if (!in.Line(line, sizeof line, &length)) {
        return kDamagedFile;
    }
    std::string_view first(line, std::min(length, sizeof line));
    if (StartsWith(first, kByteOrderMark)) {
        first.remove_prefix(kByteOrderMark.size());
    }
    if (Trimmed(first) != kFirstLine) {
        return kDamagedFile;
    }
    if (!out.Reserve(
            std::min<std::uint64_t>(in.Left() / kSmallestColourLine + 1, Palette::kMaxRecords))) {
        return {false, SWATCH_E_NO_MEMORY};
    }
    bool header = true;  // before the first colour
    bool more = false;   // colours past the most a table holds
    while (!more && in.Line(line, sizeof line, &length)) {
        const std::string_view text = Trimmed({line, std::min(length, sizeof line)});
        if (text.empty() || text.front() == '#') {
            continue;
        }
        if (header && (StartsWith(text, "Name:") || StartsWith(text, "Columns:"))) {
            continue;
        }
        header = false;
        SwatchEntry entry;
        std::string_view name;
        if (!ParseColour(text, &entry, &name)) {
            return kDamagedFile;
        }
        more = !out.Add(entry);
        if (!more && out.WantsNames()) {
            char16_t wide[kNameUnits];
            out.AddName({wide, Widen(name, wide)});
        }
    }
    if (in.Failed() || out.Count() == 0) {
        return kDamagedFile;
    }
    return {true, more ? SWATCH_E_COUNT | SWATCH_E_READ : 0};
}
