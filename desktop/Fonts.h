#pragma once
// Japanese fonts named by the programs ("ＭＳ ゴシック" and its relatives) are not installed on
// this platform; they are mapped to the installed Noto CJK faces so that Japanese text renders.

namespace velmo {

// Maps ＭＳ ゴシック / MS Gothic to Noto Sans Mono CJK JP, ＭＳ Ｐゴシック / MS PGothic and
// MS UI Gothic to Noto Sans CJK JP, and the 明朝 faces to Noto Serif CJK JP. Safe to call more
// than once.
void installJapaneseFontSubstitutes();

} // namespace velmo
