// A document built from the input's lines through RichTextBuilder, written as
// RTF and read back: the output must be well-formed 7-bit RTF whose text is the
// document's text, every special character escaped rather than altered.
//
// Each line is one step, its first byte the command and the rest the argument:
//   T text    Append(text); any byte but LF, so CR, tabs and broken UTF-8 too
//   N         Append("\n")
//   S number  SetSize(strtod): also nan, inf, huge and negative sizes
//   B|I|U 0/1 SetBold / SetItalic / SetUnderline
//   C hex     SetColor
//   D l h r   SetIndents
//   X a b ... SetTabStops
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "report/RichText.h"
#include "report/RtfWriter.h"

namespace torrenta::fuzz {
namespace {

std::vector<int> Integers(std::string_view argument) {
    const std::string text(argument);
    std::vector<int> values;
    const char* p = text.c_str();
    while (*p != '\0' && values.size() < 64) {
        char* end = nullptr;
        const long long value = std::strtoll(p, &end, 10);
        if (end == p) {
            ++p;
            continue;
        }
        values.push_back(static_cast<int>(value < INT_MIN   ? INT_MIN
                                          : value > INT_MAX ? INT_MAX
                                                            : value));
        p = end;
    }
    return values;
}

RichDocument Build(std::string_view input) {
    RichTextBuilder builder;
    while (!input.empty()) {
        const auto lineEnd = input.find('\n');
        const std::string_view line = input.substr(0, lineEnd);
        input.remove_prefix(lineEnd == std::string_view::npos ? input.size() : lineEnd + 1);
        if (line.empty()) {
            continue;
        }
        const std::string_view argument = line.substr(1);
        const bool on = !argument.empty() && argument[0] != '0';
        switch (line[0]) {
            case 'T':
                builder.Append(argument);
                break;
            case 'N':
                builder.Append("\n");
                break;
            case 'S':
                builder.SetSize(std::strtod(std::string(argument).c_str(), nullptr));
                break;
            case 'B':
                builder.SetBold(on);
                break;
            case 'I':
                builder.SetItalic(on);
                break;
            case 'U':
                builder.SetUnderline(on);
                break;
            case 'C':
                builder.SetColor(static_cast<std::uint32_t>(
                    std::strtoull(std::string(argument).c_str(), nullptr, 16)));
                break;
            case 'D': {
                auto values = Integers(argument);
                values.resize(3, 0);
                builder.SetIndents(values[0], values[1], values[2]);
                break;
            }
            case 'X':
                builder.SetTabStops(Integers(argument));
                break;
            default:
                break;
        }
    }
    return builder.Take();
}

constexpr char32_t kReplacement = 0xFFFD;

// An independent strict UTF-8 reading: a byte that does not start a complete,
// shortest, non-surrogate sequence stands for U+FFFD by itself.
std::vector<char32_t> CodePoints(std::string_view text) {
    std::vector<char32_t> points;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80           ? 1
                           : (lead >> 5) == 0x06 ? 2
                           : (lead >> 4) == 0x0E ? 3
                           : (lead >> 3) == 0x1E ? 4
                                                 : 0;
        char32_t value = length == 1   ? lead
                         : length == 2 ? lead & 0x1Fu
                         : length == 3 ? lead & 0x0Fu
                                       : lead & 0x07u;
        bool good = length > 0 && i + length <= text.size();
        for (int k = 1; good && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            good = (next & 0xC0) == 0x80;
            value = (value << 6) | (next & 0x3Fu);
        }
        static constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
        good = good && value >= kShortest[length] && value <= 0x10FFFF &&
               !(value >= 0xD800 && value <= 0xDFFF);
        points.push_back(good ? value : kReplacement);
        i += good ? length : 1;
    }
    return points;
}

// What a reader of the RTF should see of the document: UTF-16 units, tabs kept,
// other control characters gone, one LF per paragraph break.
std::u16string ExpectedText(const RichDocument& document) {
    std::u16string text;
    for (std::size_t i = 0; i < document.paragraphs.size(); ++i) {
        if (i > 0) {
            text += u'\n';
        }
        for (const auto& run : document.paragraphs[i].runs) {
            for (const char32_t c : CodePoints(run.text)) {
                if (c != '\t' && (c < 0x20 || (c >= 0x7F && c <= 0x9F))) {
                    continue;
                }
                if (c >= 0x10000) {
                    text += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
                    text += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
                } else {
                    text += static_cast<char16_t>(c);
                }
            }
        }
    }
    return text;
}

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads the body after the header the way an RTF reader would and returns its
// text; fails on anything a reader would take differently from what was meant.
template <class Describe>
std::u16string ReadBody(const std::string& rtf, std::size_t pos, const Describe& context) {
    std::u16string text;
    while (pos < rtf.size()) {
        const char c = rtf[pos];
        if (c == '}') {
            Require(pos + 1 == rtf.size(), "RTF: the only closing brace in the body ends it",
                    context);
            return text;
        }
        Require(c != '{', "RTF: no group opens in the body", context);
        if (c == '\n') {
            ++pos;
            continue;
        }
        if (c != '\\') {
            text += static_cast<char16_t>(static_cast<unsigned char>(c));
            ++pos;
            continue;
        }
        Require(pos + 1 < rtf.size(), "RTF: a backslash is followed by something", context);
        const char next = rtf[pos + 1];
        if (next == '\\' || next == '{' || next == '}') {
            text += static_cast<char16_t>(next);
            pos += 2;
            continue;
        }
        Require(IsLetter(next), "RTF: only escapes and control words follow a backslash", context);
        std::size_t end = pos + 1;
        while (end < rtf.size() && IsLetter(rtf[end])) {
            ++end;
        }
        const std::string word = rtf.substr(pos + 1, end - pos - 1);
        const std::size_t parameterStart = end;
        if (end < rtf.size() && rtf[end] == '-') {
            ++end;
        }
        while (end < rtf.size() && IsDigit(rtf[end])) {
            ++end;
        }
        const std::string parameter = rtf.substr(parameterStart, end - parameterStart);
        if (end < rtf.size() && rtf[end] == ' ') {
            ++end;  // the delimiter belongs to the word
        }
        pos = end;
        if (word == "tab") {
            text += u'\t';
        } else if (word == "par") {
            text += u'\n';
        } else if (word == "u") {
            const long unit = std::strtol(parameter.c_str(), nullptr, 10);
            Require(unit >= -32768 && unit <= 32767, "RTF: \\u takes a signed 16-bit unit",
                    context);
            text += static_cast<char16_t>(static_cast<std::uint16_t>(unit));
            Require(pos < rtf.size() && rtf[pos] == '?', "RTF: \\u has its one fallback", context);
            ++pos;
        } else {
            static const std::string_view kFormatting[] = {
                "pard", "li", "fi", "ri", "tx", "plain", "f", "fs", "cf", "b", "i", "ul", "ulnone"};
            bool known = false;
            for (const auto name : kFormatting) {
                known = known || word == name;
            }
            Require(known, "RTF: only the writer's own control words in the body",
                    [&] { return context() + "\n  word " + word; });
        }
    }
    Fail("RTF: the document is closed", context());
}

void Check(std::string_view input) {
    const RichDocument document = Build(input);
    const std::string rtf = WriteRtf(document);
    const auto context = [&] {
        return "input \"" + Escaped(input) + "\"\n  RTF \"" + Escaped(rtf) + "\"";
    };

    Require(rtf.rfind("{\\rtf1", 0) == 0, "RTF: starts with {\\rtf1", context);
    int depth = 0;
    for (std::size_t i = 0; i < rtf.size(); ++i) {
        const auto c = static_cast<unsigned char>(rtf[i]);
        Require(c == '\n' || (c >= 0x20 && c < 0x7F), "RTF: 7-bit text without control bytes",
                context);
        if (c == '\\') {
            ++i;  // an escaped brace or backslash, or the first letter of a word
            continue;
        }
        depth += c == '{' ? 1 : c == '}' ? -1 : 0;
        Require(depth > 0 || i + 1 == rtf.size(), "RTF: braces close only at the end", context);
    }
    Require(depth == 0, "RTF: braces balance", context);

    const std::size_t body = rtf.find("\\uc1");
    Require(body != std::string::npos, "RTF: header ends with \\uc1", context);
    Require(ReadBody(rtf, body + 4, context) == ExpectedText(document),
            "RTF: the text reads back as the document's text", context);
}

}  // namespace
}  // namespace torrenta::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    torrenta::fuzz::Check(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
