#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "network/StormProfile.h"

namespace torrenta {

// A small rich-text document: what the report is composed into and what the
// writers (RTF, plain text) and the report window read. Lengths are twips
// (1440 per inch).

// The sheet the report is laid out on, in twips: US Letter, with the margins
// the report window prints with (a little more on the left, for binding). The
// saved RTF states the same, so a word processor lays out the same lines.
struct PageFormat {
    int width = 12240;
    int height = 15840;
    int left = 450;
    int top = 360;
    int right = 360;
    int bottom = 360;
};
inline constexpr PageFormat kReportPage{};

// The page footer: its size in points, and the band above the bottom margin
// it takes from the text, in twips.
inline constexpr double kFooterPoints = 9.0;
inline constexpr int kFooterBand = 360;

inline constexpr std::uint32_t kBlack = 0x000000;
inline constexpr std::uint32_t kPureBlue = 0x0000FF;  // red 0, green 0, blue 255

struct CharFormat {
    double size = 12.0;  // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    std::uint32_t color = kBlack;  // 0xRRGGBB

    bool operator==(const CharFormat&) const = default;
};

// Indents as the page sees them: the first line starts at leftIndent +
// firstLineIndent (negative for a hanging indent), continuation lines at
// leftIndent. Tab stops are measured from the left margin, in order.
struct ParagraphFormat {
    int leftIndent = 0;
    int firstLineIndent = 0;
    int rightIndent = 0;
    std::vector<int> tabStops;

    bool operator==(const ParagraphFormat&) const = default;
};

// A stretch of text in one character format; holds no paragraph breaks but may
// hold TAB characters.
struct TextRun {
    std::string text;  // UTF-8
    CharFormat format;

    bool operator==(const TextRun&) const = default;
};

// What a paragraph is to the report's page flow, told by the composer rather
// than guessed from how the text looks: a section's or a table's title, a
// heading (a table's column headings, a rule line) or anything else.
enum class ParagraphRole : std::uint8_t { Body, Title, Heading };

struct Paragraph {
    ParagraphFormat format;
    std::vector<TextRun> runs;
    ParagraphRole role = ParagraphRole::Body;
    // Kept on the page of the paragraph after it: a heading with what it
    // heads, a title's block whole (see PageFlow).
    bool keepWithNext = false;

    bool operator==(const Paragraph&) const = default;
};

// What the foot of every printed page names besides its number, so a loose
// sheet can be traced to its project.
struct PageFooter {
    std::string projectName;  // UTF-8
    std::string jobNumber;
    // When the report was solved ("Solved 12/10/2026 9:41 AM"), set by the
    // desktop program for the pages it prints and saves; "" leaves it out.
    std::string solved = "";

    bool operator==(const PageFooter&) const = default;
};

// The footer's words before the page number: "North Lot    Job Number: 2026-14
//    Solved 12/10/2026 9:41 AM", leaving out what is not stated.
std::string PageFooterText(const PageFooter& footer);

// "Page 3 of 5".
std::string PageNumberText(int page, int pages);

// Always at least one paragraph; the last one holds the insertion point and is
// empty when the text ends with a line break.
struct RichDocument {
    std::vector<Paragraph> paragraphs = {Paragraph{}};
    // Pages are numbered and footed only when the document is a report.
    std::optional<PageFooter> footer;
    // A storm drain report's profile chart, drawn after the text on the pages
    // printed and saved as PDF; the RTF and the plain text leave it out.
    std::optional<StormProfile> profile;

    // The text with one "\n" between paragraphs.
    std::string PlainText() const;

    bool operator==(const RichDocument&) const = default;
};

// Appends text at the end of a document the way a rich-text box does: the
// current character format applies to text appended next; a paragraph setting
// applies to the paragraph holding the insertion point and to every paragraph
// started after it. CR LF, CR alone and LF alone each end a paragraph.
class RichTextBuilder {
  public:
    void Append(std::string_view text);

    void SetSize(double points) { character_.size = points; }
    void SetBold(bool on) { character_.bold = on; }
    void SetItalic(bool on) { character_.italic = on; }
    void SetUnderline(bool on) { character_.underline = on; }
    void SetColor(std::uint32_t rgb) { character_.color = rgb; }

    // Left indent of the paragraph body and a hanging indent by which the first
    // line stands out to the left of it, both from the left margin's point of
    // view of the first line: (200, 300, 200) starts first lines 200 twips in
    // and continuation lines 500 twips in.
    void SetIndents(int left, int hanging, int right);
    void SetTabStops(std::vector<int> stops);
    // The role of each paragraph whose first text is appended from now on; a
    // paragraph left empty (a blank line) stays Body.
    void SetRole(ParagraphRole role) { role_ = role; }
    const std::vector<int>& TabStops() const { return paragraph_.tabStops; }
    const ParagraphFormat& CurrentParagraphFormat() const { return paragraph_; }
    const CharFormat& CurrentCharFormat() const { return character_; }

    const RichDocument& Document() const { return document_; }
    RichDocument Take() { return std::move(document_); }

  private:
    void ApplyParagraphFormat();

    RichDocument document_;
    CharFormat character_;
    ParagraphFormat paragraph_;
    ParagraphRole role_ = ParagraphRole::Body;
    bool pendingCr_ = false;  // a CR just ended a paragraph; an LF right after it belongs to it
};

}  // namespace torrenta
