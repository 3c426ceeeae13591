#include "symbols/TusFile.h"

#include <cctype>
#include <cmath>
#include <vector>

#include "basic/Errors.h"
#include "basic/Numbers.h"
#include "basic/Text.h"

namespace movra {

namespace {

// Split at every single blank: two blanks in a row give an empty token.
std::vector<std::string> SplitAt(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t found = text.find(separator, start);
        if (found == std::string::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, found - start));
        start = found + 1;
    }
}

const std::string& Token(const std::vector<std::string>& tokens, size_t index) {
    if (index >= tokens.size()) Raise(ErrSubscriptOutOfRange);
    return tokens[index];
}

// The element kind of a segment, circle, arc or point line must be a number as a whole.
double StrictNumber(const std::string& token) {
    const std::string t = Trim(token);
    size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    size_t digits = 0;
    while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) ++i, ++digits;
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) ++i, ++digits;
    }
    if (digits > 0 && i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        size_t j = i + 1;
        if (j < t.size() && (t[j] == '+' || t[j] == '-')) ++j;
        size_t expDigits = 0;
        while (j < t.size() && std::isdigit(static_cast<unsigned char>(t[j]))) ++j, ++expDigits;
        if (expDigits > 0) i = j;
    }
    if (digits == 0 || i != t.size()) Raise(ErrTypeMismatch);
    return Val(t);
}

// A vertex token "x,y", each part read leniently.
void ReadVertex(SymbolStandard& st, int s, int e, int k, const std::string& token) {
    const std::vector<std::string> xy = SplitAt(token, ',');
    const double x = Val(Trim(Token(xy, 0)));
    const double y = Val(Trim(Token(xy, 1)));
    st.SymbolX.At(s, e, k) = x;
    st.SymbolY.At(s, e, k) = y;
}

char FirstCharacter(const std::string& trimmed) {
    return trimmed.empty() ? '\0' : trimmed[0];
}

// One element line of a point symbol; returns whether it counts as an element.
bool ReadElementLine(SymbolStandard& st, int s, int e, char kind, const std::string& line) {
    const std::vector<std::string> tokens = SplitAt(line, ' ');
    switch (kind) {
    case '1':
        if (line.find(',') == std::string::npos) return false;
        st.SymbolX.At(s, e, 0) = StrictNumber(Token(tokens, 0));
        st.SymbolY.At(s, e, 0) = 1;
        ReadVertex(st, s, e, 1, Token(tokens, 1));
        ReadVertex(st, s, e, 2, Token(tokens, 2));
        return true;
    case '2': {
        if (line.find(',') == std::string::npos) return false;
        st.SymbolX.At(s, e, 0) = Val(Token(tokens, 0));
        const int count = static_cast<int>(tokens.size()) - 1;
        st.SymbolY.At(s, e, 0) = count;
        for (int k = 1; k <= count; ++k) {
            // A trailing (or doubled) blank: this line does not count and the next element
            // line of the symbol takes its place.
            if (Trim(tokens[k]).empty()) {
                st.SymbolY.At(s, e, 0) = count - 1;
                return false;
            }
            ReadVertex(st, s, e, k, tokens[k]);
        }
        return true;
    }
    case '3':
        st.SymbolX.At(s, e, 0) = StrictNumber(Token(tokens, 0));
        ReadVertex(st, s, e, 1, Token(tokens, 1));
        st.SymbolX.At(s, e, 2) = Val(Trim(Token(tokens, 2)));
        return true;
    case '4':
        st.SymbolX.At(s, e, 0) = StrictNumber(Token(tokens, 0));
        for (int k = 1; k <= 3; ++k) ReadVertex(st, s, e, k, Token(tokens, k));
        return true;
    case '5':
        st.SymbolX.At(s, e, 0) = StrictNumber(Token(tokens, 0));
        ReadVertex(st, s, e, 1, Token(tokens, 1));
        return true;
    default:
        return false;
    }
}

void ReadPatternLine(SymbolStandard& st, int t, int& i, const std::string& line) {
    const std::vector<std::string> tokens = SplitAt(line, ' ');
    st.LineTypeWidth.At(t, 0) = 1;
    st.LineTypePattern.At(t, 0, 0) = static_cast<float>(tokens.size()) - 1;
    for (const std::string& token : tokens) {
        if (i > MaxPatternElements) return;
        const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(FirstCharacter(token))));
        const std::string rest = token.empty() ? std::string() : token.substr(1);
        int kind = 0;
        float value = 0;
        switch (c) {
        case '+':
        case '-':
            kind = c == '+' ? LineDash : LineGap;
            value = static_cast<float>(std::fabs(Val(token)));
            st.LineTypePattern.At(t, 0, 1) += value;
            break;
        case 'G': kind = LineSymbol; value = static_cast<float>(Val(rest)); break;
        case 'Z': kind = LineLeftSide; value = static_cast<float>(Val(rest)); break;
        case 'Y': kind = LineRightSide; value = static_cast<float>(Val(rest)); break;
        case 'W':
            st.LineTypeWidth.At(t, 1) = ToByte(Val(rest) * 10);
            continue;
        default:
            continue;
        }
        st.LineTypePattern.At(t, i, 0) = static_cast<float>(kind);
        st.LineTypePattern.At(t, i, 1) = value;
        ++i;
    }
}

}  // namespace

void DimensionSymbolTables(SymbolStandard& standard) {
    standard.SymbolNames.Dimension(MaxSymbolIndex);
    standard.SymbolX.Dimension(MaxSymbolIndex, MaxSymbolElementIndex, MaxSymbolVertexIndex);
    standard.SymbolY.Dimension(MaxSymbolIndex, MaxSymbolElementIndex, MaxSymbolVertexIndex);
    standard.SymbolElementCount.Dimension(MaxSymbolIndex);
}

void DimensionLineTypeTables(SymbolStandard& standard) {
    standard.LineTypeNames.Dimension(MaxLineTypeIndex);
    standard.LineTypeWidth.Dimension(MaxLineTypeIndex, 1);
    standard.LineTypePattern.Dimension(MaxLineTypeIndex, MaxLineTypeElementIndex, 1);
}

TusReadEnd ReadSymbolDefinitions(SymbolStandard& st, TusItemReader& items, TusStop* stop) {
    int n = 0, s = 0, e = 0;
    try {
        while (std::optional<std::string> line = items.Next()) {
            const std::string& l = *line;
            if (EqualsIgnoreCase(l, "*LL")) {
                if (stop) stop->symbolsRead = n;
                return TusReadEnd::EndMarker;
            }
            const std::string trimmed = Trim(l);
            const char c = FirstCharacter(trimmed);
            if (c == '*') {
                s = n;
                ++n;
                st.SymbolNames.At(s) = trimmed;
                e = 0;
            } else if (c >= '1' && c <= '5') {
                if (ReadElementLine(st, s, e, c, l)) ++e;
            }
            st.SymbolElementCount.At(s) = static_cast<float>(e - 1);
        }
    } catch (const RuntimeError& error) {
        if (stop) {
            stop->item = items.ItemNumber();
            stop->errorNumber = error.number;
            stop->errorText = error.description;
            // The symbol whose line failed is not whole.
            stop->symbolsRead = n > 0 ? n - 1 : 0;
        }
        return TusReadEnd::Failure;
    }
    if (stop) {
        stop->item = items.ItemNumber();
        // The symbol the damaged item belongs to may not be whole.
        stop->symbolsRead = items.Damaged() && n > 0 ? n - 1 : n;
    }
    return items.Damaged() ? TusReadEnd::Damaged : TusReadEnd::EndOfFile;
}

TusReadEnd ReadLineTypes(SymbolStandard& st, TusItemReader& items, TusStop* stop) {
    // Where the reader stopped, and the line types read whole by then: the one whose line failed
    // or whose item was damaged is not.
    auto stopped = [&](TusReadEnd end, int wholeTypes) {
        if (stop) {
            stop->item = items.ItemNumber();
            stop->lineTypesRead = wholeTypes;
        }
        return end;
    };
    auto ranOut = [&](int types) {
        if (items.Damaged()) return stopped(TusReadEnd::Damaged, types > 0 ? types - 1 : 0);
        return stopped(TusReadEnd::EndOfFile, types);
    };
    for (;;) {
        std::optional<std::string> line = items.Next();
        if (!line) return ranOut(0);
        if (EqualsIgnoreCase(Trim(*line), "*LL")) break;
    }
    int t = 0, i = 0;
    try {
        while (std::optional<std::string> line = items.Next()) {
            const std::string& l = *line;
            const std::string trimmed = Trim(l);
            const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(FirstCharacter(trimmed))));
            const bool hasBlank = trimmed.find(' ') != std::string::npos;
            if (c == '*') {
                ++t;
                st.LineTypeNames.At(t) = trimmed;
                st.LineTypeWidth.At(t, 0) = 1;
                i = 1;
            } else if ((c == '+' || c == '-' || c == 'G' || c == 'Z' || c == 'Y') && hasBlank) {
                ReadPatternLine(st, t, i, l);
            } else if (c == '1' && hasBlank) {
                const std::vector<std::string> tokens = SplitAt(l, ' ');
                for (size_t k = 0; k < tokens.size(); ++k)
                    st.LineTypePattern.At(t, static_cast<int>(k), 1) = static_cast<float>(Val(Trim(tokens[k])));
            }
            if (EqualsIgnoreCase(l, "*$")) {
                st.SymbolStandardLoaded = True;
                // The end marker took a type number of its own.
                return stopped(TusReadEnd::EndMarker, t - 1);
            }
        }
    } catch (const RuntimeError& error) {
        if (stop) {
            stop->errorNumber = error.number;
            stop->errorText = error.description;
        }
        return stopped(TusReadEnd::Failure, t > 0 ? t - 1 : 0);
    }
    return ranOut(t);
}

}  // namespace movra
