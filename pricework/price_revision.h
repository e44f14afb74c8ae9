#pragma once
// A price revision: every price of a kind raised or lowered by a percentage and rounded to a
// unit of yen, new = old × (100 + P) / 100 in exact decimal arithmetic, then rounded up, down
// or half up to the unit. The registration programs revise list prices with it and velmok its
// labour prices; the windows and the batch commands show the same preview.
#include "base/currency.h"
#include "base/shared_texts.h"
#include "pricework/pricework_texts.h"
#include "base/json_writer.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velmo {

enum class RevisionRounding { Up, Down, Half };

// The units a revision rounds to, in yen, and the rules, in the order the dialogs list them.
constexpr std::array<int64_t, 4> RevisionUnits = {1, 10, 100, 1000};
using sharedtext::RevisionRoundingNames;
constexpr std::array<const char *, 3> RevisionRoundingKeys = {"up", "down", "half"};

struct PriceRevision {
    Currency percent;      // −100 … 1000
    int64_t unit = 1;      // one of RevisionUnits
    RevisionRounding rounding = RevisionRounding::Half;
};

// The revised price; a negative price is rounded by its amount, as a positive one. A result
// beyond the Currency range raises RangeError.
Currency revisedPrice(Currency old, const PriceRevision &r);

// A revision from the texts of a dialog or a command line: the percentage (a number from −100
// to 1000, "," grouping, full-width digits and a trailing "%" allowed), the unit ("1", "10",
// "100", "1000") and the rule ("up", "down", "half" or the Japanese names). Raises
// ConversionError in Japanese naming the text that is not one of them.
PriceRevision parseRevision(const std::string &percent, const std::string &unit, const std::string &rounding);

// One revised price of a preview.
struct RevisedPrice {
    int block = 0;         // the block or pipe as the program numbers it
    std::string name;      // the block's or pipe's name
    std::string row;       // the size, or the basis of a labour price
    Currency before, after;
};

// What a revision does, before it is applied: every price it touches (zero prices stay zero
// and are left out) and how many blocks and prices change.
struct RevisionPreview {
    std::vector<RevisedPrice> prices;
    int blocks = 0;  // blocks (pipes) with at least one changed price
    int changed = 0; // prices whose value changes
    std::string refusal; // why 実行 cannot run for this choice (shown in place of the summary)
    void add(int block, const std::string &name, const std::string &row, Currency before, Currency after);
};

// Revises a price in place and notes it in the preview.
void revise(Currency &price, const PriceRevision &r, RevisionPreview &preview, int block, const std::string &name,
            const std::string &row);

// The preview as the batch commands print it: the revision, the counts and every price.
void writeRevisionJson(cli::JsonWriter &j, const RevisionPreview &p, const PriceRevision &r, bool written);

// "12 ブロックの 150 件の単価を改定します。" and the like, for the dialogs.
std::string revisionSummaryText(const RevisionPreview &p, const char *blockWord);

// ---- the dialog "価格改定" / "労務単価改定" ----

// What the dialog asks for: the revision and where it applies (an index into `scopes`).
struct RevisionChoice {
    PriceRevision revision;
    int scope = 0;
};

// The dialog's texts: caption, the scopes it offers (the first is the block or pipe shown,
// which is revised as one step that 元に戻す takes back), and the headings of the preview's
// block and row columns.
struct RevisionDialogText {
    std::string caption;
    std::vector<std::string> scopes;
    std::string blockHeading;
    std::string rowHeading;
};

// The dialog of the registration programs: their list prices, the block shown or the file.
RevisionDialogText listRevisionDialogText();

// The preview of a choice, computed by the session; raises VelmoError when it cannot be made.
using RevisionPreviewer = std::function<RevisionPreview(const RevisionChoice &)>;

} // namespace velmo
