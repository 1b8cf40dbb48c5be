#include "IniText.h"

#include <algorithm>
#include <cstddef>

namespace quill::settings {

namespace {

    constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

    struct Line {
        std::size_t start = 0; // offset of content in the whole text
        std::string_view content; // without the line end
        std::string_view end; // "\n", "\r\n", or empty for a last line without one

        std::size_t next() const { return start + content.size() + end.size(); }
    };

    enum class LineKind { Blank, Comment, Section, Key, Other };

    struct ParsedLine {
        LineKind kind = LineKind::Other;
        std::string_view name; // section or key name
        std::string_view value; // key value
    };

    // What one pass over the text found for a section/key.
    struct Location {
        std::optional<Line> keyLine;
        std::optional<Line> lastLineOfFirstSection; // the header, or its last entry
        std::string_view firstLineEnd;
        std::size_t bodyStart = 0; // after a byte order mark
    };

    bool IsBlank(char c)
    {
        return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
    }

    char AsciiLower(char c)
    {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }

    // Only ASCII letters fold: folding other bytes would depend on a code page
    // that the file does not name.
    bool EqualsIgnoringCase(std::string_view a, std::string_view b)
    {
        return std::ranges::equal(a, b, [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
    }

    bool HasLineBreakOrNul(std::string_view text)
    {
        return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
    }

    std::string_view StripMatchingQuotes(std::string_view value)
    {
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'')
            && value.back() == value.front())
            return value.substr(1, value.size() - 2);
        return value;
    }

    Line LineAt(std::string_view text, std::size_t start)
    {
        const std::size_t newline = text.find('\n', start);
        if (newline == std::string_view::npos)
            return { start, text.substr(start), {} };
        std::string_view content = text.substr(start, newline - start);
        if (content.ends_with('\r')) {
            content.remove_suffix(1);
            return { start, content, text.substr(newline - 1, 2) };
        }
        return { start, content, text.substr(newline, 1) };
    }

    ParsedLine Parse(std::string_view content)
    {
        const std::string_view trimmed = TrimBlanks(content);
        if (trimmed.empty())
            return { LineKind::Blank, {}, {} };
        if (trimmed.front() == ';' || trimmed.front() == '#')
            return { LineKind::Comment, {}, {} };
        if (trimmed.front() == '[') {
            const std::size_t close = trimmed.find(']');
            if (close == std::string_view::npos)
                return { LineKind::Other, {}, {} };
            return { LineKind::Section, TrimBlanks(trimmed.substr(1, close - 1)), {} };
        }
        const std::size_t equals = trimmed.find('=');
        if (equals == std::string_view::npos)
            return { LineKind::Other, {}, {} };
        const std::string_view name = TrimBlanks(trimmed.substr(0, equals));
        if (name.empty())
            return { LineKind::Other, {}, {} };
        return { LineKind::Key, name, TrimBlanks(trimmed.substr(equals + 1)) };
    }

    Location Locate(std::string_view text, std::string_view section, std::string_view key)
    {
        Location found;
        if (text.starts_with(kUtf8ByteOrderMark))
            found.bodyStart = kUtf8ByteOrderMark.size();
        bool inMatchingSection = false;
        bool inFirstMatchingSection = false;
        for (std::size_t start = found.bodyStart; start < text.size();) {
            const Line line = LineAt(text, start);
            start = line.next();
            if (found.firstLineEnd.empty())
                found.firstLineEnd = line.end;
            const ParsedLine parsed = Parse(line.content);
            switch (parsed.kind) {
            case LineKind::Section:
                inMatchingSection = EqualsIgnoringCase(parsed.name, section);
                inFirstMatchingSection = inMatchingSection && !found.lastLineOfFirstSection;
                if (inFirstMatchingSection)
                    found.lastLineOfFirstSection = line;
                break;
            case LineKind::Key:
                if (inMatchingSection && EqualsIgnoringCase(parsed.name, key)) {
                    found.keyLine = line;
                    return found;
                }
                [[fallthrough]];
            case LineKind::Other:
                if (inFirstMatchingSection)
                    found.lastLineOfFirstSection = line;
                break;
            case LineKind::Blank:
            case LineKind::Comment:
                // Comments and blank lines after a section's last entry usually
                // belong to the next section, so a new key goes before them.
                break;
            }
        }
        return found;
    }

    std::string Spliced(
        std::string_view text, std::size_t position, std::size_t erased, std::string_view inserted)
    {
        std::string result;
        result.reserve(text.size() - erased + inserted.size());
        result.append(text.substr(0, position));
        result.append(inserted);
        result.append(text.substr(position + erased));
        return result;
    }

} // namespace

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool IsValidSectionName(std::string_view name)
{
    return !name.empty() && !HasLineBreakOrNul(name) && name.find(']') == std::string_view::npos;
}

bool IsValidKeyName(std::string_view name)
{
    return !name.empty() && !HasLineBreakOrNul(name) && name.find('=') == std::string_view::npos
        && name.front() != '[' && name.front() != ';' && name.front() != '#';
}

bool IsValidValue(std::string_view value)
{
    return !HasLineBreakOrNul(value);
}

std::optional<std::string_view> FindIniValue(
    std::string_view text, std::string_view section, std::string_view key)
{
    const Location found = Locate(text, section, key);
    if (!found.keyLine)
        return std::nullopt;
    return StripMatchingQuotes(Parse(found.keyLine->content).value);
}

std::string WithIniValue(
    std::string_view text, std::string_view section, std::string_view key, std::string_view value)
{
    const Location found = Locate(text, section, key);

    if (found.keyLine) {
        // Keep the line's own spelling and spacing of the name; only the value changes.
        const std::string_view content = found.keyLine->content;
        std::size_t valueStart = content.find('=') + 1;
        while (valueStart < content.size() && (content[valueStart] == ' ' || content[valueStart] == '\t'))
            ++valueStart;
        return Spliced(text, found.keyLine->start + valueStart, content.size() - valueStart, value);
    }

    const std::string_view lineEnd = found.firstLineEnd.empty() ? std::string_view("\n") : found.firstLineEnd;
    const std::string keyLine = std::string(key) + "=" + std::string(value);

    if (found.lastLineOfFirstSection) {
        const Line& after = *found.lastLineOfFirstSection;
        // After a last line without a line end the new line becomes the last
        // one and goes without a line end too.
        if (after.end.empty())
            return Spliced(text, after.next(), 0, std::string(lineEnd) + keyLine);
        return Spliced(text, after.next(), 0, keyLine + std::string(lineEnd));
    }

    const std::string header = "[" + std::string(section) + "]";
    const bool hasLines = text.size() > found.bodyStart;
    if (hasLines && !text.ends_with('\n'))
        return std::string(text) + std::string(lineEnd) + header + std::string(lineEnd) + keyLine;
    return std::string(text) + header + std::string(lineEnd) + keyLine + std::string(lineEnd);
}

} // namespace quill::settings
