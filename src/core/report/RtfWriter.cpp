#include "report/RtfWriter.h"

#include "report/TabLayout.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace torrenta {
namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;

// Decodes one UTF-8 sequence at text[pos] and advances pos past it. A broken
// sequence yields U+FFFD for its first byte so the rest of the text survives.
char32_t NextCodePoint(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    int length = 0;
    char32_t value = 0;
    if (lead < 0x80) {
        ++pos;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2;
        value = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        value = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        value = lead & 0x07;
    } else {
        ++pos;
        return kReplacementCharacter;
    }
    if (pos + length > text.size()) {
        ++pos;
        return kReplacementCharacter;
    }
    for (int i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return kReplacementCharacter;
        }
        value = (value << 6) | (next & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < kSmallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        ++pos;
        return kReplacementCharacter;
    }
    pos += length;
    return value;
}

// Half-points as \fs wants them; sizes outside what RTF can state are pinned to
// its limits.
int HalfPoints(double points) {
    const double halfPoints = points * 2.0;
    if (!(halfPoints >= 1.0)) {
        return 1;
    }
    return static_cast<int>(std::lround(std::min(halfPoints, 3276.0)));
}

bool IsControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

// Collects the colour table: black and pure blue always hold indices 1 and 2 so
// the report's usual colours keep stable numbers; any other colour follows in
// order of first use.
std::vector<std::uint32_t> ColorTable(const RichDocument& document) {
    std::vector<std::uint32_t> colors = {kBlack, kPureBlue};
    for (const auto& paragraph : document.paragraphs) {
        for (const auto& run : paragraph.runs) {
            if (std::find(colors.begin(), colors.end(), run.format.color) == colors.end()) {
                colors.push_back(run.format.color);
            }
        }
    }
    return colors;
}

bool IsEmpty(const Paragraph& paragraph) {
    return std::all_of(paragraph.runs.begin(), paragraph.runs.end(),
                       [](const TextRun& run) { return run.text.empty(); });
}

class RtfStream {
  public:
    explicit RtfStream(std::vector<std::uint32_t> colors) : colors_(std::move(colors)) {}

    void Header(bool footed) {
        out_ += "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\n";
        out_ += "{\\colortbl;";
        for (const std::uint32_t color : colors_) {
            out_ += "\\red" + std::to_string((color >> 16) & 0xFF) + "\\green" +
                    std::to_string((color >> 8) & 0xFF) + "\\blue" + std::to_string(color & 0xFF) +
                    ";";
        }
        out_ += "}\n";
        Word("paperw", kReportPage.width);
        Word("paperh", kReportPage.height);
        Word("margl", kReportPage.left);
        Word("margr", kReportPage.right);
        Word("margt", kReportPage.top);
        Word("margb", kReportPage.bottom);
        if (footed) {
            Word("footery", kReportPage.bottom);
        }
        Word("deftab", kDefaultTabTwips);
        Word("uc1");
    }

    // \pard alone resets every paragraph property, so each paragraph states all
    // of its own and none can leak into the next.
    void ParagraphStart(const ParagraphFormat& format, bool keepWithNext) {
        Word("pard");
        if (keepWithNext) {
            Word("keepn");
        }
        Word("li", format.leftIndent);
        Word("fi", format.firstLineIndent);
        Word("ri", format.rightIndent);
        for (const int stop : format.tabStops) {
            Word("tx", stop);
        }
    }

    void ParagraphEnd() {
        Word("par");
        out_ += '\n';
        needsDelimiter_ = false;
    }

    void Run(const TextRun& run) {
        if (run.text.empty()) {
            return;
        }
        Format(run.format);
        std::size_t pos = 0;
        while (pos < run.text.size()) {
            Character(NextCodePoint(run.text, pos));
        }
    }

    // The page numbers are fields, so the word processor counts its own pages;
    // the footer sits in the bottom margin's band as the printed pages have it.
    // A group of its own, so its formatting never reaches the report's text.
    void Footer(std::string_view words) {
        const int textWidth = kReportPage.width - kReportPage.left - kReportPage.right;
        out_ += "\n{";
        Word("footer");
        Word("pard");
        Word("plain");
        Word("f", 0);
        Word("fs", HalfPoints(kFooterPoints));
        Word("cf", ColorIndex(kBlack));
        Word("tqr");
        Word("tx", textWidth);
        Text(words);
        Word("tab");
        Text("Page ");
        out_ += "{\\field{\\*\\fldinst PAGE}{\\fldrslt 1}}";
        Text(" of ");
        out_ += "{\\field{\\*\\fldinst NUMPAGES}{\\fldrslt 1}}";
        Word("par");
        out_ += "}\n";
        needsDelimiter_ = false;
    }

    void Finish() { out_ += "}"; }

    std::string Take() { return std::move(out_); }

  private:
    // Character properties outlive \pard, so only what changed is written; the
    // first run starts from \plain and states everything. Underline comes last
    // so a rule of tabs reads \ul\tab\tab.
    void Format(const CharFormat& format) {
        const int halfPoints = HalfPoints(format.size);
        const int colorIndex = ColorIndex(format.color);
        if (!current_) {
            Word("plain");
            Word("f", 0);
            Word("fs", halfPoints);
            Word("cf", colorIndex);
            if (format.bold) {
                Word("b");
            }
            if (format.italic) {
                Word("i");
            }
            if (format.underline) {
                Word("ul");
            }
            current_ = format;
            return;
        }
        if (HalfPoints(current_->size) != halfPoints) {
            Word("fs", halfPoints);
        }
        if (current_->color != format.color) {
            Word("cf", colorIndex);
        }
        if (current_->bold != format.bold) {
            Word(format.bold ? "b" : "b0");
        }
        if (current_->italic != format.italic) {
            Word(format.italic ? "i" : "i0");
        }
        if (current_->underline != format.underline) {
            Word(format.underline ? "ul" : "ulnone");
        }
        current_ = format;
    }

    void Text(std::string_view text) {
        for (std::size_t pos = 0; pos < text.size();) {
            Character(NextCodePoint(text, pos));
        }
    }

    int ColorIndex(std::uint32_t color) const {
        const auto found = std::find(colors_.begin(), colors_.end(), color);
        return static_cast<int>(found - colors_.begin()) + 1;
    }

    void Character(char32_t c) {
        if (c == '\t') {
            Word("tab");
        } else if (c == '\\' || c == '{' || c == '}') {
            out_ += '\\';
            out_ += static_cast<char>(c);
            needsDelimiter_ = false;
        } else if (IsControl(c)) {
            return;
        } else if (c < 0x80) {
            // A space after the last control word ends it; without one a letter,
            // digit, space or hyphen here would be read as part of that word.
            if (needsDelimiter_) {
                out_ += ' ';
                needsDelimiter_ = false;
            }
            out_ += static_cast<char>(c);
        } else if (c <= 0xFFFF) {
            Unicode(static_cast<std::uint16_t>(c));
        } else {
            const char32_t offset = c - 0x10000;
            Unicode(static_cast<std::uint16_t>(0xD800 + (offset >> 10)));
            Unicode(static_cast<std::uint16_t>(0xDC00 + (offset & 0x3FF)));
        }
    }

    // RTF parameters are signed 16-bit; the '?' is the one fallback character
    // (\uc1) that readers without Unicode show and the others skip.
    void Unicode(std::uint16_t unit) {
        out_ += "\\u" + std::to_string(static_cast<std::int16_t>(unit)) + "?";
        needsDelimiter_ = false;
    }

    void Word(std::string_view word) {
        out_ += '\\';
        out_ += word;
        needsDelimiter_ = true;
    }

    void Word(std::string_view word, int parameter) {
        out_ += '\\';
        out_ += word;
        out_ += std::to_string(parameter);
        needsDelimiter_ = true;
    }

    std::vector<std::uint32_t> colors_;
    std::string out_;
    std::optional<CharFormat> current_;
    bool needsDelimiter_ = false;
};

}  // namespace

std::string WriteRtf(const RichDocument& document) {
    RtfStream stream(ColorTable(document));
    stream.Header(document.footer.has_value());
    if (document.footer) {
        stream.Footer(PageFooterText(*document.footer));
    }
    const auto& paragraphs = document.paragraphs;
    // Only a report's pages are kept whole; a piece of it copied on its own
    // is the reader's to lay out.
    const bool keepPages = document.footer.has_value();
    for (std::size_t i = 0; i < paragraphs.size(); ++i) {
        const bool last = i + 1 == paragraphs.size();
        // The empty paragraph after a final break is implied by the last \par.
        if (last && IsEmpty(paragraphs[i])) {
            break;
        }
        stream.ParagraphStart(paragraphs[i].format, keepPages && paragraphs[i].keepWithNext);
        for (const auto& run : paragraphs[i].runs) {
            stream.Run(run);
        }
        if (!last) {
            stream.ParagraphEnd();
        }
    }
    stream.Finish();
    return stream.Take();
}

}  // namespace torrenta
