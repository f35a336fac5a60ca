#include "report/PageFlow.h"

#include <algorithm>

namespace torrenta {

bool IsHeading(const Paragraph& paragraph) {
    return paragraph.role == ParagraphRole::Title || paragraph.role == ParagraphRole::Heading;
}

bool IsTitle(const Paragraph& paragraph) {
    return paragraph.role == ParagraphRole::Title;
}

bool HasContent(const Paragraph& paragraph) {
    return IsHeading(paragraph) ||
           std::any_of(paragraph.runs.begin(), paragraph.runs.end(), [](const TextRun& run) {
               return run.text.find_first_not_of(" \t") != std::string::npos;
           });
}

std::size_t TitleBlockEnd(const std::vector<Paragraph>& paragraphs, std::size_t title) {
    std::size_t last = title;
    int empty = 0;
    for (std::size_t j = title + 1; j < paragraphs.size() && !IsTitle(paragraphs[j]); ++j) {
        if (!HasContent(paragraphs[j])) {
            if (++empty == kSectionGap) {
                break;
            }
            continue;
        }
        empty = 0;
        last = j;
    }
    return last;
}

void MarkKeepWithNext(std::vector<Paragraph>& paragraphs) {
    for (Paragraph& paragraph : paragraphs) {
        paragraph.keepWithNext = false;
    }
    for (std::size_t i = 0; i < paragraphs.size(); ++i) {
        if (!IsHeading(paragraphs[i])) {
            continue;
        }
        std::size_t last = i;
        std::size_t next = i + 1;
        while (next < paragraphs.size() && !HasContent(paragraphs[next])) {
            ++next;
        }
        if (next < paragraphs.size()) {
            last = next;
        }
        if (IsTitle(paragraphs[i])) {
            last = std::max(last, TitleBlockEnd(paragraphs, i));
        }
        for (std::size_t j = i; j < last; ++j) {
            paragraphs[j].keepWithNext = true;
        }
    }
}

}  // namespace torrenta
