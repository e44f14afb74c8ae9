#include "grid/core/strcolgrid_params.h"
#include "base/shared_texts.h"
#include "grid/core/grid_texts.h"

#include "base/errors.h"
#include "grid/core/strcolgrid_model.h"

#include <cstdio>

namespace velmo {

namespace {

[[noreturn]] void throwIndex(int index)
{
    throw RangeError(sharedtext::listIndexText(index));
}

// "%3d": the number right-aligned in three places.
std::string padded(int v)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%3d", v);
    return buf;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Cell parameters.

TSCGCellParam::TSCGCellParam(TSCGCellParams &collection)
    : collection_(&collection), name_(sharedtext::parameterName(collection.Count() + 1))
{
    if (const StrColGridModel *g = collection.grid_) {
        cellColor_ = g->Color();
        options_ = g->Options();
    }
}

StrColGridModel *TSCGCellParam::grid() const
{
    return collection_ ? collection_->grid_ : nullptr;
}

void TSCGCellParam::changed()
{
    if (StrColGridModel *g = grid())
        g->paramsChanged();
}

void TSCGCellParam::lookChanged()
{
    if (StrColGridModel *g = grid())
        g->paramLookChanged(*this);
}

bool TSCGCellParam::loading() const
{
    const StrColGridModel *g = grid();
    return g && g->Loading();
}

void TSCGCellParam::Assign(const TSCGCellParam &s)
{
    if (&s == this)
        return;
    name_ = s.name_;
    col_ = s.col_;
    row_ = s.row_;
    colMax_ = s.colMax_;
    rowMax_ = s.rowMax_;
    rangeEnabled_ = s.rangeEnabled_;
    caption_ = s.caption_;
    captionType_ = s.captionType_;
    cellColor_ = s.cellColor_;
    cellColorEnabled_ = s.cellColorEnabled_;
    brush_ = s.brush_;
    brushEnabled_ = s.brushEnabled_;
    fontName_ = s.fontName_;
    fontColor_ = s.fontColor_;
    fontColorEnabled_ = s.fontColorEnabled_;
    fontWidth_ = s.fontWidth_;
    alignment_ = s.alignment_;
    layout_ = s.layout_;
    imeMode_ = s.imeMode_;
    imeModeEnabled_ = s.imeModeEnabled_;
    options_ = s.options_;
    optionsEnabled_ = s.optionsEnabled_;
    tag_ = s.tag_;
    OnEnterCell = s.OnEnterCell;
    OnExitCell = s.OnExitCell;
    OnEnterCol = s.OnEnterCol;
    OnExitCol = s.OnExitCol;
    OnEnterRow = s.OnEnterRow;
    OnExitRow = s.OnExitRow;
    OnOutCellText = s.OnOutCellText;
    OnDrawTextOneLine = s.OnDrawTextOneLine;
    OnDrawCell = s.OnDrawCell;
    changed();
}

std::string TSCGCellParam::DisplayName() const
{
    std::string s = name_;
    s += " (";
    s += padded(col_);
    s += ',';
    s += padded(row_);
    s += ")-(";
    s += padded(colMax_);
    s += ',';
    s += padded(rowMax_);
    s += ')';
    return s;
}

bool TSCGCellParam::Covers(int col, int row) const
{
    if (rangeEnabled_)
        return col_ <= col && col <= colMax_ && row_ <= row && row <= rowMax_;
    return col == col_ && row == row_;
}

void TSCGCellParam::SetName(const std::string &v)
{
    name_ = v;
    changed();
}

void TSCGCellParam::SetCol(int v)
{
    if (v < 0)
        throw RangeError(sharedtext::belowZeroText(DisplayName(), "Col"));
    const int old = col_;
    col_ = v;
    try {
        SetColMax(colMax_);
    } catch (...) {
        col_ = old;
        throw;
    }
}

void TSCGCellParam::SetRow(int v)
{
    if (v < 0)
        throw RangeError(sharedtext::belowZeroText(DisplayName(), "Row"));
    const int old = row_;
    row_ = v;
    try {
        SetRowMax(rowMax_);
    } catch (...) {
        row_ = old;
        throw;
    }
}

void TSCGCellParam::SetColMax(int v)
{
    const int old = colMax_;
    colMax_ = v;
    try {
        SetRangeEnabled(rangeEnabled_);
    } catch (...) {
        colMax_ = old;
        throw;
    }
}

void TSCGCellParam::SetRowMax(int v)
{
    const int old = rowMax_;
    rowMax_ = v;
    try {
        SetRangeEnabled(rangeEnabled_);
    } catch (...) {
        rowMax_ = old;
        throw;
    }
}

void TSCGCellParam::SetRangeEnabled(bool v)
{
    if (v && !loading() && (colMax_ < col_ || rowMax_ < row_))
        throw RangeError(sharedtext::BadRangeText);
    rangeEnabled_ = v;
    changed();
}

void TSCGCellParam::SetCaption(const std::string &v)
{
    caption_ = v;
    lookChanged();
}

void TSCGCellParam::SetCaptionType(TSCGCellCaptionType v)
{
    captionType_ = v;
    lookChanged();
}

void TSCGCellParam::SetCellColor(TColor v)
{
    cellColor_ = v;
    lookChanged();
}

void TSCGCellParam::SetCellColorEnabled(bool v)
{
    cellColorEnabled_ = v;
    lookChanged();
}

void TSCGCellParam::SetBrush(const TBrush &v)
{
    brush_ = v;
    lookChanged();
}

void TSCGCellParam::SetBrushEnabled(bool v)
{
    brushEnabled_ = v;
    lookChanged();
}

void TSCGCellParam::SetFontName(const std::string &v)
{
    const StrColGridModel *g = grid();
    if (!v.empty() && !loading() && g && !g->Fonts().Find(v))
        fontName_.clear();
    else
        fontName_ = v;
    lookChanged();
}

void TSCGCellParam::SetFontColor(TColor v)
{
    fontColor_ = v;
    lookChanged();
}

void TSCGCellParam::SetFontColorEnabled(bool v)
{
    fontColorEnabled_ = v;
    lookChanged();
}

void TSCGCellParam::SetFontWidth(int v)
{
    if (v < 0)
        throw RangeError(sharedtext::fontWidthText(DisplayName()));
    fontWidth_ = v;
    lookChanged();
}

void TSCGCellParam::SetAlignment(TAlignment v)
{
    alignment_ = v;
    lookChanged();
}

void TSCGCellParam::SetLayout(TTextLayout v)
{
    layout_ = v;
    lookChanged();
}

void TSCGCellParam::SetImeMode(TImeMode v)
{
    imeMode_ = v;
    changed();
}

void TSCGCellParam::SetImeModeEnabled(bool v)
{
    imeModeEnabled_ = v;
    changed();
}

void TSCGCellParam::SetOptions(TGridOptions v)
{
    options_ = v;
    changed();
}

void TSCGCellParam::SetOptionsEnabled(bool v)
{
    optionsEnabled_ = v;
    changed();
}

TSCGCellParam &TSCGCellParams::Add()
{
    items_.push_back(std::make_unique<TSCGCellParam>(*this));
    if (grid_)
        grid_->paramsChanged();
    return *items_.back();
}

TSCGCellParam &TSCGCellParams::Items(int index) const
{
    if (index < 0 || index >= Count())
        throwIndex(index);
    return *items_[static_cast<size_t>(index)];
}

void TSCGCellParams::Delete(int index)
{
    if (index < 0 || index >= Count())
        throwIndex(index);
    items_.erase(items_.begin() + index);
    if (grid_)
        grid_->paramsChanged();
}

void TSCGCellParams::Clear()
{
    items_.clear();
    if (grid_)
        grid_->paramsChanged();
}

bool TSCGCellParams::AnyCaptionTop() const
{
    for (const auto &p : items_)
        if (p->CaptionType() == ctTop)
            return true;
    return false;
}

TSCGCellParam *TSCGCellParams::Find(int col, int row) const
{
    for (auto it = items_.rbegin(); it != items_.rend(); ++it)
        if ((*it)->Covers(col, row))
            return it->get();
    return nullptr;
}

// ---------------------------------------------------------------------------------------------
// Named fonts.

TSCGCellFont::TSCGCellFont(TSCGCellFonts &collection)
    : collection_(&collection), name_(sharedtext::fontName(collection.Count() + 1))
{
    if (const StrColGridModel *g = collection.grid_)
        font_ = g->Font();
}

void TSCGCellFont::SetName(const std::string &v)
{
    if (v.empty())
        throw VelmoError(sharedtext::EmptyFontNameText);
    StrColGridModel *g = collection_->grid_;
    if (!(g && g->Loading())) {
        for (const auto &font : collection_->items_)
            if (font->name_ == v)
                throw VelmoError(sharedtext::FontNameTakenText);
    }
    if (g) {
        TSCGCellParams &params = g->CellParams();
        for (int i = 0; i < params.Count(); ++i)
            if (params[i].fontName_ == name_)
                params[i].fontName_ = v;
        g->paramsChanged();
    }
    name_ = v;
}

void TSCGCellFont::SetFont(const GridFont &v)
{
    font_ = v;
    if (collection_->grid_)
        collection_->grid_->paramsChanged();
}

std::string TSCGCellFont::DisplayName() const
{
    std::string s = name_;
    s += "( ";
    s += font_.family;
    s += ", ";
    s += std::to_string(font_.points());
    s += " )";
    return s;
}

TSCGCellFont &TSCGCellFonts::Add()
{
    items_.push_back(std::make_unique<TSCGCellFont>(*this));
    return *items_.back();
}

TSCGCellFont &TSCGCellFonts::Items(int index) const
{
    if (index < 0 || index >= Count())
        throwIndex(index);
    return *items_[static_cast<size_t>(index)];
}

void TSCGCellFonts::Delete(int index)
{
    if (index < 0 || index >= Count())
        throwIndex(index);
    const std::string name = items_[static_cast<size_t>(index)]->name_;
    items_.erase(items_.begin() + index);
    if (grid_) {
        TSCGCellParams &params = grid_->CellParams();
        for (int i = 0; i < params.Count(); ++i)
            if (params[i].fontName_ == name)
                params[i].fontName_.clear();
        grid_->paramsChanged();
    }
}

int TSCGCellFonts::IndexOfFontName(const std::string &name) const
{
    for (int i = 0; i < Count(); ++i)
        if (items_[static_cast<size_t>(i)]->name_ == name)
            return i;
    throw VelmoError(sharedtext::UnknownFontNameText);
}

const TSCGCellFont *TSCGCellFonts::Find(const std::string &name) const
{
    for (const auto &font : items_)
        if (font->name_ == name)
            return font.get();
    return nullptr;
}

} // namespace velmo
