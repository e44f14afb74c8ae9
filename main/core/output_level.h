#pragma once
// The choices of the output level dialog Tflevel_select, shared by the session that acts on
// them and the window that asks for them.
namespace velmo {

// What the output level dialog Tflevel_select gives back after it closed.
struct OutputLevelChoice {
    int basis = 1;         // 1 … 5 LEVEL1 … LEVEL5, 6 原価 (NET)
    bool heading = false;  // CheckBox7 "見出しを出力"
    bool results = false;  // CheckBox8 "計算結果を出力": components instead of factors
    bool confirmed = false; // closed with "実　行"
    bool operator==(const OutputLevelChoice &) const = default;
};

// The captions of the dialog's radio buttons level1 … level6.
constexpr int OutputLevelCount = 6;
inline constexpr const char *OutputLevelCaptions[OutputLevelCount] = {"LEVEL1", "LEVEL2", "LEVEL3",
                                                                      "LEVEL4", "LEVEL5", "原　価"};

} // namespace velmo
