#pragma once
// Plain types of the string column grid: alignments, layouts, caption types, input-method
// modes, grid options, draw states, colours, brushes, fonts, cell ranges and pixel rectangles.
// Positions are (col, row) throughout, in that order.
#include <cstdint>
#include <string>

namespace velmo {

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };
enum TSCGCellCaptionType { ctCaption, ctCellText, ctHeader, ctFooter, ctTop, ctBottom };
enum TImeMode {
    imDisable, imClose, imOpen, imDontCare, imSAlpha, imAlpha,
    imHira, imSKata, imKata, imChinese, imSHanguel, imHanguel
};

enum TGridOption : unsigned {
    goFixedVertLine = 1u << 0,
    goFixedHorzLine = 1u << 1,
    goVertLine = 1u << 2,
    goHorzLine = 1u << 3,
    goRangeSelect = 1u << 4,
    goDrawFocusSelected = 1u << 5,
    goRowSizing = 1u << 6,
    goColSizing = 1u << 7,
    goRowMoving = 1u << 8,     // accepted, no effect
    goColMoving = 1u << 9,     // accepted, no effect
    goEditing = 1u << 10,
    goTabs = 1u << 11,
    goRowSelect = 1u << 12,
    goAlwaysShowEditor = 1u << 13, // accepted, no effect: the editor opens on demand
    goThumbTracking = 1u << 14,    // accepted, no effect: scrolling always tracks the thumb
};
using TGridOptions = unsigned;
inline constexpr TGridOptions DefaultGridOptions =
    goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect;

enum TGridDrawStateFlag : unsigned { gdSelected = 1u << 0, gdFocused = 1u << 1, gdFixed = 1u << 2 };
using TGridDrawState = unsigned;

// A colour as Windows writes it, 0x00BBGGRR: the form the programs' settings and layouts use
// (10652814 is the grey-violet of the fixed cells).
struct TColor {
    std::uint32_t value = 0;

    constexpr TColor() = default;
    constexpr explicit TColor(std::uint32_t bgr) : value(bgr & 0xffffffu) {}
    static constexpr TColor fromRgb(int r, int g, int b)
    {
        return TColor(static_cast<std::uint32_t>(b & 0xff) << 16 | static_cast<std::uint32_t>(g & 0xff) << 8 |
                      static_cast<std::uint32_t>(r & 0xff));
    }
    constexpr int red() const { return static_cast<int>(value & 0xff); }
    constexpr int green() const { return static_cast<int>((value >> 8) & 0xff); }
    constexpr int blue() const { return static_cast<int>((value >> 16) & 0xff); }
    constexpr bool operator==(const TColor &) const = default;
};

namespace clr {
inline constexpr TColor Black{0x000000};
inline constexpr TColor White{0xffffff};
inline constexpr TColor Silver{12632256}; // grid lines and inner lines of normal cells
inline constexpr TColor Gray{8421504};    // dark edge of fixed cells
inline constexpr TColor Window = White;
inline constexpr TColor WindowText = Black;
inline constexpr TColor BtnFace = TColor::fromRgb(240, 240, 240);
inline constexpr TColor BtnHighlight = White; // light edge of fixed cells
inline constexpr TColor BtnShadow = Gray;
inline constexpr TColor Highlight = TColor::fromRgb(0, 120, 215);
inline constexpr TColor HighlightText = White;
} // namespace clr

enum class BrushStyle { Solid, Clear, Horizontal, Vertical, FDiagonal, BDiagonal, Cross, DiagCross };

// A pattern brush painted over a cell's background.
struct TBrush {
    TColor color = clr::White;
    BrushStyle style = BrushStyle::Solid;
    bool operator==(const TBrush &) const = default;
};

// A font as the grid stores it: face, size (points, or pixels when pixelSize > 0), style and
// colour. The window layer turns it into its toolkit's font.
struct GridFont {
    std::string family;
    int pointSize = 9;
    int pixelSize = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    TColor color = clr::WindowText;

    // The size in points, also for a font given in pixels (at 96 pixels per inch).
    int points() const { return pixelSize > 0 ? (pixelSize * 72 + 48) / 96 : pointSize; }
    bool operator==(const GridFont &) const = default;
};

struct GridCoord {
    int col = -1;
    int row = -1;
    bool operator==(const GridCoord &) const = default;
};

// A rectangle of cells, both corners included.
struct CellRange {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool contains(int col, int row) const { return left <= col && col <= right && top <= row && row <= bottom; }
    bool operator==(const CellRange &) const = default;
};

// A rectangle of pixels: left .. left + width - 1, top .. top + height - 1.
struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int right() const { return left + width; }   // first column after the rectangle
    int bottom() const { return top + height; } // first row after the rectangle
    bool operator==(const PixelRect &) const = default;
};

} // namespace velmo
