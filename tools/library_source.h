// The readable text source of the built-in library and its compiler into the
// 431,104-byte library image.
//
// One block per slot:
//
//   [32] "Düyek" 8/8
//   spacing 40
//   strokes D8:2:Düm T16:3:Tek T8:2:Tek | D16:3:Düm T16:1:Tek
//   source given
//
// A stroke is hand (D = Düm, right; T = Tek, left), length in 64ths, level 0..3 and an
// optional syllable. "|" puts a bar line on the empty circle just before the next stroke.
// Positions follow from the spacing k: every stroke is followed by the gap that the
// halving table gives for its note value. Several "strokes" lines are joined.
// A row without bar lines may name its published grouping in zaman and where it comes from:
//
//   groups 2+2+2+3 ML-AKSAK; SB-AKSAK
//
// It goes to the table the beat click reads (usul/groupings.h), never into the image; a
// group must start on a stroke.
// Other block forms: `copy N` (same circles as slot N), `[256] colour R G B`.
// Slots without a block are empty. Lines starting with '#' are comments.
#pragma once

#include "usul/record.h"

#include <string>
#include <string_view>
#include <vector>

namespace zerkavi {

struct SourceStroke {
    bool right = true; // Düm
    int length = 0;    // 64ths
    int level = 0;
    std::string syllable; // UTF-8, may be empty
    bool barBefore = false;
};

struct SourceUsul {
    int slot = 0;
    int line = 0;     // where the block starts, for messages
    std::string name; // UTF-8
    int numerator = 0;
    int mertebe = 0;
    int spacing = 0;
    int copyOf = 0;
    std::vector<SourceStroke> strokes;
    std::string source;       // provenance
    std::vector<int> groups;  // zaman of each group, from a "groups" line; empty: none
    std::string groupsSource; // where the grouping is published
};

struct LibrarySource {
    std::vector<SourceUsul> usuls; // in file order
    bool hasColour = false;
    int colour[3] = {0, 0, 0};
};

struct CompileResult {
    std::vector<std::uint8_t> image; // empty on failure
    std::vector<std::string> errors;
    LibrarySource source;
};

// Parses and checks the source and builds the image. Each refusal names the slot and the
// usul so the build error says what to fix.
CompileResult compileLibrary(std::string_view text);

// A Markdown table of every usul of the source with its strokes and provenance, so that
// musicians can read and correct the data (docs/usuls.md).
std::string libraryDocument(const CompileResult& compiled);

// The groups of a row in zaman, "2+2+2+3": from its "groups" line, or from its bar lines;
// empty when it has neither.
std::string groupingText(const CompileResult& compiled, const SourceUsul& u);

// How far a row can be trusted, the first word of its source line: "given", "sourced",
// "derived", "compound", "reconstructed" or "example"; empty when it is none of them.
std::string sourceKind(const std::string& source);

// The chain of a source usul written back in source notation ("D8:2:Düm T16:3:Tek | ...").
std::string strokeChain(const SourceUsul& u);

} // namespace zerkavi
