#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "basic/Errors.h"

namespace movra {

// A table of one to three dimensions with inclusive upper bounds, as the symbol tables are
// dimensioned and re-dimensioned during a run. Access outside the current bounds, or with a
// number of indexes other than the table's, raises error 9 instead of touching memory: an
// unloaded standard (tables cut down to one element) then fails where it is used.
template <class T>
struct CheckedTable {
    std::vector<T> cells;
    std::array<int, 3> upper{-1, -1, -1};
    int rank = 0;

    // Re-dimensions with every cell cleared; upper bounds inclusive, -1 for an unused dimension.
    void Dimension(int upper0, int upper1 = -1, int upper2 = -1) {
        upper = {upper0, upper1, upper2};
        rank = upper2 >= 0 ? 3 : (upper1 >= 0 ? 2 : 1);
        size_t size = static_cast<size_t>(upper0 + 1);
        if (rank >= 2) size *= static_cast<size_t>(upper1 + 1);
        if (rank == 3) size *= static_cast<size_t>(upper2 + 1);
        cells.assign(size, T{});
    }
    bool Contains(int i) const { return rank == 1 && i >= 0 && i <= upper[0]; }
    bool Contains(int i, int j) const {
        return rank == 2 && i >= 0 && i <= upper[0] && j >= 0 && j <= upper[1];
    }
    bool Contains(int i, int j, int k) const {
        return rank == 3 && i >= 0 && i <= upper[0] && j >= 0 && j <= upper[1] && k >= 0 &&
               k <= upper[2];
    }
    T& At(int i) {
        if (!Contains(i)) Raise(ErrSubscriptOutOfRange);
        return cells[static_cast<size_t>(i)];
    }
    T& At(int i, int j) {
        if (!Contains(i, j)) Raise(ErrSubscriptOutOfRange);
        return cells[static_cast<size_t>(i) * (upper[1] + 1) + j];
    }
    T& At(int i, int j, int k) {
        if (!Contains(i, j, k)) Raise(ErrSubscriptOutOfRange);
        return cells[(static_cast<size_t>(i) * (upper[1] + 1) + j) * (upper[2] + 1) + k];
    }
    const T& At(int i) const { return const_cast<CheckedTable*>(this)->At(i); }
    const T& At(int i, int j) const { return const_cast<CheckedTable*>(this)->At(i, j); }
    const T& At(int i, int j, int k) const { return const_cast<CheckedTable*>(this)->At(i, j, k); }
};

// The bounds the symbol tables are dimensioned to.
constexpr int MaxSymbolIndex = 349;          // point symbols 0..349
constexpr int MaxSymbolElementIndex = 9;     // elements 0..9 of a point symbol
constexpr int MaxSymbolVertexIndex = 5;      // vertex 0 (kind / count) and vertices 1..5
constexpr int MaxLineTypeIndex = 318;        // line types 1..318 (0 is never filled)
constexpr int MaxLineTypeElementIndex = 17;  // element 0 (count / period) and elements 1..17
constexpr int MaxPatternElements = 16;       // a pattern line stores elements 1..16

// Kinds of the elements of a point symbol (vertex 0 of SymbolX). Plain integer constants, since
// the tables hold them as floating-point numbers and compare them as such.
constexpr int SymbolSegment = 1;
constexpr int SymbolPolyline = 2;
constexpr int SymbolCircle = 3;
constexpr int SymbolArc = 4;
constexpr int SymbolPoint = 5;

// Kinds of the elements of a line type (LineTypePattern(t, i, 0)).
constexpr int LineDash = 6;
constexpr int LineGap = 7;
constexpr int LineSymbol = 8;
constexpr int LineLeftSide = 9;
constexpr int LineRightSide = 10;

// The loaded symbol standard: the point symbols and line types everything draws with.
struct SymbolStandard {
    // Point symbols, numbered from 0 in file order.
    CheckedTable<std::string> SymbolNames;  // (symbol): the name line, "*" included
    CheckedTable<double> SymbolX;           // (symbol, element, vertex): 0 kind, k x; circle: 2 radius
    CheckedTable<double> SymbolY;           // (symbol, element, vertex): 0 vertex count, k y
    CheckedTable<float> SymbolElementCount; // (symbol): index of the last element, -1 none

    // Line types, numbered from 1 in file order; code = 349 + type.
    CheckedTable<std::string> LineTypeNames;   // (type)
    CheckedTable<std::uint8_t> LineTypeWidth;  // (type, 0) defined; (type, 1) width x 10
    CheckedTable<float> LineTypePattern;       // (type, element, 0 kind / 1 value); element 0:
                                               // element count and period

    // -1 once the line-type section was read to its end marker.
    std::int16_t SymbolStandardLoaded = 0;
    // The file the readers last read.
    std::string SymbolStandardFile;
};

}  // namespace movra
