#include "report/RichText.h"

#include <algorithm>
#include <climits>
#include <string>
#include <utility>

namespace torrenta {
namespace {

// The sum of an indent and a hanging indent, or a negated hanging indent, may
// leave the int range for extreme arguments: pinned to its ends, not wrapped.
int Saturated(long long value) {
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

}  // namespace

std::string PageFooterText(const PageFooter& footer) {
    std::string text = footer.projectName;
    if (!footer.jobNumber.empty()) {
        if (!text.empty()) {
            text += "    ";
        }
        text += "Job Number: " + footer.jobNumber;
    }
    if (!footer.solved.empty()) {
        text += (text.empty() ? "" : "    ") + footer.solved;
    }
    return text;
}

std::string PageNumberText(int page, int pages) {
    return "Page " + std::to_string(page) + " of " + std::to_string(pages);
}

std::string RichDocument::PlainText() const {
    std::string text;
    for (std::size_t i = 0; i < paragraphs.size(); ++i) {
        if (i > 0) {
            text += '\n';
        }
        for (const auto& run : paragraphs[i].runs) {
            text += run.text;
        }
    }
    return text;
}

void RichTextBuilder::Append(std::string_view text) {
    std::size_t start = 0;
    auto flush = [&](std::size_t end) {
        if (end > start) {
            Paragraph& paragraph = document_.paragraphs.back();
            auto& runs = paragraph.runs;
            if (runs.empty()) {
                paragraph.role = role_;
            }
            if (!runs.empty() && runs.back().format == character_) {
                runs.back().text.append(text.substr(start, end - start));
            } else {
                runs.push_back({std::string(text.substr(start, end - start)), character_});
            }
        }
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            pendingCr_ = false;
            continue;
        }
        flush(i);
        start = i + 1;
        if (c == '\n' && pendingCr_) {
            pendingCr_ = false;  // the LF of a CR LF pair
            continue;
        }
        pendingCr_ = c == '\r';
        document_.paragraphs.push_back(Paragraph{paragraph_, {}});
    }
    flush(text.size());
}

void RichTextBuilder::SetIndents(int left, int hanging, int right) {
    paragraph_.leftIndent = Saturated(static_cast<long long>(left) + hanging);
    paragraph_.firstLineIndent = Saturated(-static_cast<long long>(hanging));
    paragraph_.rightIndent = right;
    ApplyParagraphFormat();
}

void RichTextBuilder::SetTabStops(std::vector<int> stops) {
    paragraph_.tabStops = std::move(stops);
    ApplyParagraphFormat();
}

void RichTextBuilder::ApplyParagraphFormat() {
    document_.paragraphs.back().format = paragraph_;
}

}  // namespace torrenta
